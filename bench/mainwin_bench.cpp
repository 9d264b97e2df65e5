// The main window: from nothing to a shown, laid-out window (settings file read and applied,
// every frame, menu and dialog maker created), and loading a 10,000-line command file into
// it through the Load action with both views laid out afterwards.
#include "editor/command_editor.h"
#include "editor/main_form.h"
#include "editor/qt_parameter_dialogs.h"
#include "editor/qt_settings_dialogs.h"
#include "files/settings_file.h"
#include "files/wall_clock.h"
#include "serial/qt_serial_backend.h"
#include "serial/steady_clock.h"
#include "tests/support/scripted_dialogs.h"
#include "widgets/ovel_list_box.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

void writeFile(const QString& name, const std::string& bytes)
{
    QFile f(name);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// 100 display blocks of 100 lines each: the four block markers at both ends and 92 lines of
// text and commands between them.
std::string tenThousandLines()
{
    std::string file;
    for (int b = 0; b < 100; ++b) {
        const std::string n = std::to_string(10 + b % 90);
        file += "SOT '" + n + "'\r\n STX '01'\r\n  SOP '01'\r\n   SOL '01'\r\n";
        for (int t = 0; t < 92; ++t)
            file += t % 4 == 0 ? "    ESC $A0 '" + std::to_string(t % 10) + "'\r\n"
                               : "    'Text line " + std::to_string(t) + "'\r\n";
        file += "   EOL\r\n  EOP\r\n ETX\r\nEOT\r\n";
    }
    return file + "\r\n";
}

struct Program {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    lmx::SystemWallClock wallClock;

    Program()
    {
        writeFile(folder.filePath(QStringLiteral("ORVANTA.SET")),
                  lmx::settingsFileText(lmx::TSerialSettings(), lmx::TDisplaySettings(),
                                        lmx::TGeneralSettings()));
    }

    // The window as the program makes it, shown and exposed.
    std::unique_ptr<TMainForm> start()
    {
        MainFormServices s;
        s.programFolder = folder.path();
        s.dialogs = &dialogs;
        s.wallClock = &wallClock;
        s.steadyClock = &lmx::SystemSteadyClock::instance();
        s.makeParameterDialogs = [this](QWidget* w) {
            return std::make_unique<QtParameterDialogs>(dialogs, w);
        };
        s.makeSettingsDialogs = [this](QWidget* w) {
            return std::make_unique<QtSettingsDialogs>(dialogs, w);
        };
        s.makeSerialBackend = [] { return std::make_unique<lmx::QtSerialBackend>(); };
        auto window = std::make_unique<TMainForm>(s);
        window->show();
        QElapsedTimer limit;
        limit.start();
        while (!(window->windowHandle() && window->windowHandle()->isExposed())
               && limit.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        settle();
        return window;
    }

    static void settle() { QCoreApplication::processEvents(); }
};

void startUpToShownWindow(benchmark::State& state)
{
    Program program;
    for (auto _ : state) {
        std::unique_ptr<TMainForm> window = program.start();
        state.PauseTiming();
        if (!window->windowHandle() || !window->windowHandle()->isExposed())
            state.SkipWithError("the window was never exposed");
        window.reset();
        Program::settle();
        state.ResumeTiming();
    }
}

void load10000Lines(benchmark::State& state)
{
    Program program;
    const QString file = program.folder.filePath(QStringLiteral("big.lmx"));
    writeFile(file, tenThousandLines());
    std::unique_ptr<TMainForm> window = program.start();
    for (auto _ : state) {
        program.dialogs.setNextFileName(file);
        if (!window->DoImportLmxExecute())
            state.SkipWithError("the file did not load");
        Program::settle();
        // The views lay their lines out lazily: ask both for the last line's place.
        CommandEditor& editor = window->editor();
        const int last = editor.box().list().count() - 1;
        editor.commandBox()->visualRect(editor.commandBox()->model()->index(last, 0));
        editor.hexBox()->visualRect(editor.hexBox()->model()->index(last, 0));
    }
    if (window->editor().box().list().count() != 10001)
        state.SkipWithError("not 10,000 lines and the end line");
}

} // namespace

BENCHMARK(startUpToShownWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(load10000Lines)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

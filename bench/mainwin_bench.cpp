// The main window's two times a user waits on: from creation to a shown, exposed window, and
// loading a 10,000-line command file into it (both boxes filled). A timed program rather than
// Google Benchmark: each run needs a fresh window and the event loop. Prints the median of a
// few runs; run by bench/run.sh on the offscreen platform.
#include "bench_window.h"
#include "editor/command_editor.h"
#include "files/settings_file.h"
#include "platform/wall_clock.h"
#include "tests/support/scripted_dialogs.h"
#include "window/main_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr int kLines = 10000;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool writeFile(const QString& name, const std::string& bytes)
{
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes.data(), static_cast<qint64>(bytes.size()))
           == static_cast<qint64>(bytes.size());
}

struct Rig {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    lmx::SystemWallClock wallClock;
    std::unique_ptr<TMainForm> window;

    std::unique_ptr<TMainForm> make()
    {
        return std::make_unique<TMainForm>(benchWindowServices(folder.path(), dialogs, wallClock));
    }
};

// Shown and exposed, with the events of the first paint handled.
void showAndWait(TMainForm& w)
{
    w.show();
    QElapsedTimer deadline;
    deadline.start();
    while (!(w.windowHandle() && w.windowHandle()->isExposed()) && deadline.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Rig rig;
    if (!rig.folder.isValid()
        || !writeFile(rig.folder.filePath(QStringLiteral("ORVANTA.SET")),
                      lmx::settingsFileText(lmx::TSerialSettings(), lmx::TDisplaySettings(),
                                            lmx::TGeneralSettings()))) {
        std::fprintf(stderr, "mainwin_bench: cannot write the settings file\n");
        return 1;
    }

    std::vector<double> startMs;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        std::unique_ptr<TMainForm> w = rig.make();
        showAndWait(*w);
        startMs.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }

    std::string text = "SOT '01'\r\n";
    for (int i = 0; i < kLines - 2; ++i)
        text += " 'Line number " + std::to_string(i) + "'\r\n";
    text += "EOT\r\n";
    const QString file = rig.folder.filePath(QStringLiteral("big.lmx"));
    if (!writeFile(file, text)) {
        std::fprintf(stderr, "mainwin_bench: cannot write the command file\n");
        return 1;
    }

    std::vector<double> loadMs;
    std::unique_ptr<TMainForm> w = rig.make();
    showAndWait(*w);
    for (int i = 0; i < kRuns; ++i) {
        rig.dialogs.setNextFileName(file);
        QElapsedTimer t;
        t.start();
        const bool ok = w->DoImportLmxExecute();
        QCoreApplication::processEvents();
        loadMs.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        if (!ok) {
            std::fprintf(stderr, "mainwin_bench: the command file did not load\n");
            return 1;
        }
    }

    std::printf("main window: start-up to a shown window median %.1f ms (target 500 ms)\n",
                median(startMs));
    std::printf("main window: load %d-line command file median %.1f ms (target 1000 ms)\n", kLines,
                median(loadMs));
    return 0;
}

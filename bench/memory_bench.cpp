// Peak memory of reading a large command file: `lmx check` on it, and the main window loading
// it (offscreen), each in a process of its own so that its peak is its own. A timed program
// rather than Google Benchmark: the figure is a process's high-water mark.
//
//     memory_bench LMX_PROGRAM [LINES]        the figures for a file of short text lines
//     memory_bench --window FILE              (internal) load FILE into a window, print the time
#include "bench_window.h"
#include "files/command_file_reader.h"
#include "files/settings_file.h"
#include "measured_run.h"
#include "platform/wall_clock.h"
#include "tests/support/scripted_dialogs.h"
#include "window/main_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

// The process's processor time: on a shared machine the wall clock also counts the waits for
// a processor.
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

int loadIntoWindow(int argc, char** argv, const char* file)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    {
        std::ofstream set(folder.filePath(QStringLiteral("ORVANTA.SET")).toStdString(),
                          std::ios::binary);
        set << lmx::settingsFileText({}, {}, {});
    }
    ScriptedDialogs dialogs;
    lmx::SystemWallClock wallClock;
    const MainFormServices s = benchWindowServices(folder.path(), dialogs, wallClock);
    auto window = std::make_unique<TMainForm>(s);
    window->show();
    QCoreApplication::processEvents();

    dialogs.setNextFileName(QString::fromLocal8Bit(file));
    QElapsedTimer t;
    t.start();
    const double cpuStart = cpuMs();
    const bool loaded = window->DoImportLmxExecute();
    // Until the views have laid the lines out and painted them.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    std::printf("%.0f ms (CPU %.0f ms)\n", ms, cpuMs() - cpuStart);
    dialogs.setNextAnswer(UserDialogs::Answer::No);
    window.reset();
    return loaded ? 0 : 1;
}

// Runs lmx check and the window on one file and prints their peaks.
bool measure(const char* what, const std::string& lmx, const std::string& self,
             const std::string& file, const char* targets)
{
    const MeasuredRun check = runMeasured({lmx, "check", file});
    const MeasuredRun window = runMeasured({self, "--window", file});
    if (check.exitCode != 0 || window.exitCode != 0) {
        std::fprintf(stderr, "memory_bench: a run on %s failed\n", what);
        return false;
    }
    std::printf("%s: lmx check peak %.0f MB, window peak %.0f MB, load %s %s\n", what,
                static_cast<double>(check.peakKb) / 1024.0,
                static_cast<double>(window.peakKb) / 1024.0,
                window.out.substr(0, window.out.find('\n')).c_str(), targets);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--window") == 0)
        return loadIntoWindow(argc, argv, argv[2]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: memory_bench LMX_PROGRAM [LINES]\n");
        return 2;
    }
    const long lines = argc > 2 ? std::atol(argv[2]) : 1000000;
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return 1;
    self[n] = '\0';
    QTemporaryDir folder;
    auto make = [&](const char* name, auto&& write) {
        const std::string file = folder.filePath(QString::fromLatin1(name)).toStdString();
        std::ofstream out(file, std::ios::binary);
        write(out);
        return file;
    };

    const std::string shortLines = make("short.lmx", [&](std::ofstream& out) {
        for (long i = 0; i < lines; ++i)
            out << '\'' << i % 100 << "'\r\n";
    });
    // The largest files accepted, of the lines that cost the most per byte: empty texts ('')
    // one after another, and one-character answer lines.
    const size_t limit = lmx::kMaxCommandFileSize;
    const std::string emptyTexts = make("texts.lmx", [&](std::ofstream& out) {
        out << std::string(limit, '\'');
    });
    const std::string answers = make("answers.lmx", [&](std::ofstream& out) {
        std::string text = "ANSWER:\n";
        while (text.size() + 2 <= limit)
            text += "a\n";
        out << text;
    });

    const std::string label = std::to_string(lines) + " short text lines";
    const bool ok =
        measure(label.c_str(), argv[1], self, shortLines,
                "(targets: lmx check 50 MB, window 250 MB, load 2000 ms)")
        && measure("largest file of empty texts", argv[1], self, emptyTexts, "(targets: lmx check 50 MB, window 1024 MB)")
        && measure("largest file of answer lines", argv[1], self, answers, "(targets: lmx check 50 MB, window 1024 MB)");
    return ok ? 0 : 1;
}

// The main window at scale, in processor time of the window's process (offscreen, shown):
//   - one edit (insert a line in the middle of the list, delete it, undo the delete), each
//     step handled to its last paint, in lists of 10,000, 100,000 and 1,000,000 lines;
//   - loading a 1,000,000-line command file, and the process's peak memory after it;
//   - a transmission from the window to `lmx sim` of 1,000 and of 20,000 packets: CPU per
//     packet (the display is a process of its own, so its work is not counted);
//   - lines written into the receive box as a transmission writes them, 5,000 and 1,200,000
//     of them (past the box's limit): CPU per line, and the peak memory of the process.
// Every figure is taken in a fresh process. With --baseline another build of this program
// (one of an earlier revision, built from its sources with this file added) is measured in the
// same run, and the two are printed side by side with their ratio.
//
//   window_scale_bench --lmx LMX [--baseline BENCH] [--packets 1000,20000]
//                      [--baseline-packets 1000,4000] [--lines 10000,100000,1000000]
//   window_scale_bench edit LINES            (internal) one process's edit figures
//   window_scale_bench send PACKETS LMX      (internal) one process's transmission figure
//   window_scale_bench receive LINES         (internal) one process's receive box figures
//   window_scale_bench repeat RUNS LMX       (internal) repeat runs of a 100-packet list
//                                            (bench/repeat_bench.sh compares their memory)
#include "bench_window.h"
#include "editor/command_editor.h"
#include "files/settings_file.h"
#include "frames/receive_log_model.h"
#include "frames/send_receive_frame.h"
#include "packets/exchange_recorder.h"
#include "platform/wall_clock.h"
#include "port/comm_port_driver.h"
#include "sim_process.h"
#include "tests/support/scripted_dialogs.h"
#include "window/main_form.h"
#include "window/transmit_actions.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kEdits = 15;

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Until the posted events (the queued steps of the editor, the paints) are handled.
void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
    }
}

bool writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    return bool(out);
}

// Display blocks of 100 lines: a message, page and line block each, 92 short texts inside (a
// file of 1,000,000 lines stays below the largest file the window takes).
std::string nestedList(int lines)
{
    std::string text;
    text.reserve(static_cast<size_t>(lines) * 8);
    int written = 0;
    while (written + 100 <= lines) {
        text += "SOT '01'\r\nSTX '01'\r\nSOP '01'\r\nSOL '01'\r\n";
        for (int t = 0; t < 92; ++t)
            text += "'" + std::to_string(t) + "'\r\n";
        text += "EOL\r\nEOP\r\nETX\r\nEOT\r\n";
        written += 100;
    }
    for (; written < lines; ++written)
        text += "'" + std::to_string(written % 100) + "'\r\n";
    return text;
}

struct Window {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    lmx::SystemWallClock wallClock;
    std::unique_ptr<TMainForm> form;

    bool open(const lmx::TSerialSettings& serial = {})
    {
        if (!folder.isValid()
            || !writeText(folder.filePath(QStringLiteral("ORVANTA.SET")).toStdString(),
                          lmx::settingsFileText(serial, {}, {})))
            return false;
        form = std::make_unique<TMainForm>(benchWindowServices(folder.path(), dialogs, wallClock));
        form->show();
        settle();
        return true;
    }
    bool load(const std::string& path)
    {
        dialogs.setNextFileName(QString::fromStdString(path));
        const bool ok = form->DoImportLmxExecute();
        settle();
        return ok;
    }
    ~Window()
    {
        // Closing asks to save the changed list.
        dialogs.setNextAnswer(UserDialogs::Answer::No);
        form.reset();
    }
};

int editFigures(int lines)
{
    Window w;
    if (!w.open())
        return 1;
    const std::string file = w.folder.filePath(QStringLiteral("list.lmx")).toStdString();
    if (!writeText(file, nestedList(lines)))
        return 1;
    const double loadStart = cpuMs();
    if (!w.load(file))
        return 1;
    const double loadMs = cpuMs() - loadStart;
    const long loadPeak = peakKb();

    CommandEditor& editor = w.form->editor();
    CommandBox& box = editor.box();
    const int row = lines / 2 + 10; // a text inside a line block
    const int loaded = box.list().count();
    std::vector<double> insertMs, deleteMs, undoMs, editMs;
    for (int i = 0; i < kEdits; ++i) {
        editor.selectLines({row});
        settle();
        const double t0 = cpuMs();
        // As a command button inserts its line.
        box.InsertCommandLine("'inserted'", "inserted");
        editor.updateActions();
        settle();
        const double t1 = cpuMs();
        editor.actions().DoDeleteSingleCommand->trigger();
        settle();
        const double t2 = cpuMs();
        editor.clipboard().Undo();
        editor.updateActions();
        settle();
        const double t3 = cpuMs();
        insertMs.push_back(t1 - t0);
        deleteMs.push_back(t2 - t1);
        undoMs.push_back(t3 - t2);
        editMs.push_back(t3 - t0);
        if (box.list().count() != loaded + 1 || box.list().line(row).displayText != "'inserted'") {
            std::fprintf(stderr, "edit %d left %d lines, line %d '%s'\n", i, box.list().count(), row,
                         box.list().line(row).displayText.c_str());
            return 1;
        }
        // Back to the list as loaded, outside the measured edit.
        box.list().remove(row, row);
        settle();
    }
    std::printf("load_ms %.1f\npeak_kb %ld\nedit_ms %.2f\ninsert_ms %.2f\ndelete_ms %.2f\nundo_ms %.2f\n",
                loadMs, loadPeak, median(editMs), median(insertMs), median(deleteMs),
                median(undoMs));
    return 0;
}

// The window on the line of a virtual display of its own, with `list` loaded.
struct WindowOnDisplay {
    QTemporaryDir scratch;
    SimProcess display;
    Window w;
    bool ready = false;

    WindowOnDisplay(const std::string& lmx, const std::string& list)
        : display(lmx, {"--netnr", "1"}, scratch.filePath(QStringLiteral("sim.out")).toStdString())
    {
        if (display.port().empty()) {
            std::fprintf(stderr, "lmx sim did not start\n");
            return;
        }
        lmx::TSerialSettings serial;
        serial.PortName = display.port();
        const std::string file = w.folder.filePath(QStringLiteral("packets.lmx")).toStdString();
        ready = w.open(serial) && writeText(file, list) && w.load(file);
    }
};

int sendFigures(int packets, const std::string& lmx)
{
    // A text a packet; every 1,000 packets the delete command empties the display's memory, so
    // it never fills however long the run (those packets count too).
    std::string list;
    for (int i = 0; i < packets; ++i) {
        list += "SOT '01'\r\n'Packet " + std::to_string(i) + "'\r\nEOT\r\nFPACK '00000'\r\n";
        if (i % 1000 == 999)
            list += "ESC $80\r\nFPACK '00000'\r\n";
    }
    WindowOnDisplay on(lmx, list);
    if (!on.ready)
        return 1;
    Window& w = on.w;
    const double t0 = cpuMs();
    const auto wall0 = std::chrono::steady_clock::now();
    w.form->DoTransmitExecute();
    settle();
    const double ms = cpuMs() - t0;
    const double wallMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0).count();
    // Failed exchanges are counted, not hidden: a window too slow to take its answers in time
    // fails them.
    const lmx::ExchangeSummary summary = w.form->recorder().summary();
    const int sent = std::max(summary.packets, 1);
    if (summary.packets != packets + packets / 1000)
        std::fprintf(stderr, "%d packets of %d sent\n", summary.packets, packets + packets / 1000);
    std::printf("cpu_per_packet_ms %.3f\nwall_per_packet_ms %.3f\nfailed %d\nreceive_lines %zu\n"
                "peak_kb %ld\n",
                ms / sent, wallMs / sent, summary.failed, static_cast<size_t>(w.form->sendReceiveFrame().receiveLog().rowCount()),
                peakKb());
    return 0;
}

// Repeat runs of a list of 100 packets from the window, as Transmit > Repeat Transmission...
// starts them: the peak memory must not grow with the number of runs.
int repeatFigures(int runs, const std::string& lmx)
{
    std::string list;
    // The last packet of a run empties the display's memory, so it never fills.
    for (int i = 0; i < 99; ++i)
        list += "SOT '01'\r\n'Packet " + std::to_string(i) + "'\r\nEOT\r\n";
    list += "ESC $80\r\nFPACK '00000'\r\n";
    WindowOnDisplay on(lmx, list);
    if (!on.ready)
        return 1;
    Window& w = on.w;
    lmx::RepeatRequest request;
    request.plan.runs = runs;
    const double t0 = cpuMs();
    w.form->transmitActions().repeat(request);
    settle();
    const double ms = cpuMs() - t0;
    const lmx::RunStatistics& statistics = w.form->transmitActions().repeatRun().statistics();
    const long long packets = statistics.packets();
    std::printf("runs %lld\npackets %lld\nfailed %lld\ncpu_per_packet_ms %.3f\nreceive_lines %zu\npeak_kb %ld\n",
                static_cast<long long>(statistics.runs()), packets,
                static_cast<long long>(statistics.failedPackets()),
                ms / static_cast<double>(std::max(packets, 1LL)),
                static_cast<size_t>(w.form->sendReceiveFrame().receiveLog().rowCount()), peakKb());
    return 0;
}

int receiveFigures(int lines)
{
    Window w;
    if (!w.open())
        return 1;
    ReceiveLogModel& log = w.form->sendReceiveFrame().receiveLog();
    const long before = peakKb();
    const double t0 = cpuMs();
    for (int i = 0; i < lines; ++i) {
        log.addLine("14:02:07:315 Packet " + std::to_string(i) + " sent, answer OK.");
        // The event loop runs about once an exchange.
        if (i % 2 == 0)
            QCoreApplication::processEvents();
    }
    settle();
    const double ms = cpuMs() - t0;
    std::printf("cpu_per_line_us %.2f\nrows %d\npeak_kb %ld\nbefore_kb %ld\n", 1000.0 * ms / lines,
                log.rowCount(), peakKb(), before);
    return 0;
}

// Runs a child and returns its "name value" lines; empty when it failed.
std::map<std::string, double> runChild(const std::vector<std::string>& args)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    std::map<std::string, double> figures;
    std::istringstream in(out);
    std::string name;
    double value = 0;
    while (in >> name >> value)
        figures[name] = value;
    return figures;
}

std::vector<int> numbers(const char* list)
{
    std::vector<int> out;
    std::istringstream in(list);
    for (std::string item; std::getline(in, item, ',');)
        out.push_back(std::atoi(item.c_str()));
    return out;
}

// "  label      before    after   after/before  target"
void row(const char* label, double before, double after, const char* unit, const char* target)
{
    auto cell = [](double v) {
        char text[32];
        if (v < 0)
            std::snprintf(text, sizeof text, "%12s", "-");
        else
            std::snprintf(text, sizeof text, "%12.2f", v);
        return std::string(text);
    };
    std::printf("  %-44s %s %s %-3s", label, cell(before).c_str(), cell(after).c_str(), unit);
    if (before > 0 && after >= 0)
        std::printf(" %8.3f", after / before);
    else
        std::printf(" %8s", "");
    std::printf("  %s\n", target);
}

double figure(const std::map<std::string, double>& f, const char* name)
{
    const auto it = f.find(name);
    return it == f.end() ? -1 : it->second;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "edit") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return editFigures(std::atoi(argv[2]));
    }
    if (argc >= 3 && std::strcmp(argv[1], "receive") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return receiveFigures(std::atoi(argv[2]));
    }
    if (argc >= 4 && std::strcmp(argv[1], "repeat") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return repeatFigures(std::atoi(argv[2]), argv[3]);
    }
    if (argc >= 4 && std::strcmp(argv[1], "send") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return sendFigures(std::atoi(argv[2]), argv[3]);
    }

    std::string lmx, baseline;
    std::vector<int> packets = {1000, 20000};
    std::vector<int> baselinePackets = {1000, 4000};
    std::vector<int> lines = {10000, 100000, 1000000};
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--lmx")
            lmx = argv[i + 1];
        else if (option == "--baseline")
            baseline = argv[i + 1];
        else if (option == "--packets")
            packets = numbers(argv[i + 1]);
        else if (option == "--baseline-packets")
            baselinePackets = numbers(argv[i + 1]);
        else if (option == "--lines")
            lines = numbers(argv[i + 1]);
    }
    if (lmx.empty()) {
        std::fprintf(stderr, "usage: window_scale_bench --lmx LMX [--baseline BENCH] "
                             "[--packets N,N] [--baseline-packets N,N] [--lines N,N,N]\n");
        return 2;
    }
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return 1;
    self[n] = '\0';

    bool failed = false;
    auto both = [&](std::vector<std::string> args, bool withBaseline) {
        std::map<std::string, double> before;
        if (!baseline.empty() && withBaseline) {
            args.insert(args.begin(), baseline);
            before = runChild(args);
            failed |= before.empty();
            args.erase(args.begin());
        }
        args.insert(args.begin(), self);
        const std::map<std::string, double> after = runChild(args);
        failed |= after.empty();
        return std::make_pair(before, after);
    };

    std::printf("  %-44s %12s %12s %-3s %8s  %s\n", "CPU of the window's process", "baseline", "this",
                "", "ratio", "target");
    for (const int count : lines) {
        const auto [before, after] = both({"edit", std::to_string(count)}, true);
        const std::string label = "one edit (insert, delete, undo), " + std::to_string(count) + " lines";
        const char* target = count >= 1000000 ? "<= 50 ms" : count >= 100000 ? "<= 20 ms" : "";
        row(label.c_str(), figure(before, "edit_ms"), figure(after, "edit_ms"), "ms", target);
        for (const char* step : {"insert", "delete", "undo"}) {
            const std::string name = std::string(step) + "_ms";
            row(("    " + std::string(step)).c_str(), figure(before, name.c_str()),
                figure(after, name.c_str()), "ms", "");
        }
        if (count >= 1000000) {
            row("load of the 1,000,000-line list", figure(before, "load_ms"),
                figure(after, "load_ms"), "ms", "<= 1000 ms");
            row("peak memory after the load", figure(before, "peak_kb") / 1024,
                figure(after, "peak_kb") / 1024, "MB", "no higher than before");
        }
    }
    std::map<int, double> perPacket;
    for (const int count : packets) {
        const bool withBaseline =
                std::find(baselinePackets.begin(), baselinePackets.end(), count) != baselinePackets.end();
        const auto [before, after] = both({"send", std::to_string(count), lmx}, withBaseline);
        perPacket[count] = figure(after, "cpu_per_packet_ms");
        const std::string label = "transmission of " + std::to_string(count) + " packets, per packet";
        row(label.c_str(), figure(before, "cpu_per_packet_ms"), figure(after, "cpu_per_packet_ms"),
            "ms", "<= 0.5 ms");
        row("    failed exchanges", figure(before, "failed"), figure(after, "failed"), "", "0");
        row("    receive box lines", figure(before, "receive_lines"), figure(after, "receive_lines"),
            "", "");
    }
    for (const int extra : baselinePackets)
        if (!baseline.empty() && std::find(packets.begin(), packets.end(), extra) == packets.end()) {
            const std::map<std::string, double> before =
                    runChild({baseline, "send", std::to_string(extra), lmx});
            const std::string label = "transmission of " + std::to_string(extra) + " packets, per packet";
            row(label.c_str(), figure(before, "cpu_per_packet_ms"), -1, "ms", "(baseline only)");
            row("    failed exchanges", figure(before, "failed"), -1, "", "");
        }
    for (const int count : {5000, 1200000}) {
        // An earlier receive box may need the square of its length: it is measured on the
        // short run only.
        const auto [before, after] = both({"receive", std::to_string(count)}, count <= 5000);
        const std::string label = "receive box: " + std::to_string(count) + " lines, per line";
        row(label.c_str(), figure(before, "cpu_per_line_us"), figure(after, "cpu_per_line_us"), "us",
            "");
        row("    rows kept", figure(before, "rows"), figure(after, "rows"), "", "");
        row("    peak memory", figure(before, "peak_kb") / 1024, figure(after, "peak_kb") / 1024,
            "MB", "");
    }
    if (packets.size() >= 2 && perPacket[packets.front()] > 0) {
        const double ratio = perPacket[packets.back()] / perPacket[packets.front()];
        std::printf("  CPU per packet at %d packets / at %d packets: %.3f (target <= 1.3)\n",
                    packets.back(), packets.front(), ratio);
    }
    if (failed)
        std::fprintf(stderr, "window_scale_bench: a run failed\n");
    return failed ? 1 : 0;
}

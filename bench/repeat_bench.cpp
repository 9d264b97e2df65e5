// Repeat runs need the memory of one run, however many there are: the peak resident memory of
// `lmx send --repeat` (with a JSON report written as the runs go) over 10,000 and 100,000
// packets, and of the window's Repeat Transmission over 2,000 and 20,000 packets, each in a
// process of its own against `lmx sim`. The longer run must stay within 5 % of the shorter.
//
//     repeat_bench LMX_PROGRAM [WINDOW_SCALE_BENCH]
#include "measured_run.h"
#include "sim_process.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <stdlib.h>

namespace {

namespace fs = std::filesystem;

constexpr int kPacketsPerRun = 100;

// "name value" lines, as the window's process prints them.
std::map<std::string, double> figures(const std::string& out)
{
    std::map<std::string, double> values;
    std::istringstream in(out);
    std::string name;
    double value = 0;
    while (in >> name >> value)
        values[name] = value;
    return values;
}

struct Pair {
    long shortKb = 0;
    long longKb = 0;
};

void row(const char* what, const Pair& p)
{
    const double ratio = p.shortKb > 0 ? static_cast<double>(p.longKb) / static_cast<double>(p.shortKb) : 0;
    std::printf("  %-46s %8.1f MB %8.1f MB %7.3f  %s\n", what, static_cast<double>(p.shortKb) / 1024.0,
                static_cast<double>(p.longKb) / 1024.0, ratio, ratio <= 1.05 ? "<= 1.05 (met)" : "<= 1.05 (MISSED)");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: repeat_bench LMX_PROGRAM [WINDOW_SCALE_BENCH]\n");
        return 2;
    }
    const std::string lmx = argv[1];
    char name[] = "/tmp/repeat-bench-XXXXXX";
    if (!mkdtemp(name))
        return 1;
    const fs::path folder = name;
    const std::string list = (folder / "list.lmx").string();
    {
        std::ofstream out(list, std::ios::binary);
        // The last packet of a run empties the display's memory, so it never fills.
        for (int i = 0; i + 1 < kPacketsPerRun; ++i)
            out << "SOT '01'\r\n'Packet " << i << "'\r\nEOT\r\n";
        out << "ESC $80\r\nFPACK '00000'\r\n";
    }

    bool failed = false;
    std::printf("  %-46s %11s %11s %7s  %s\n", "peak resident memory", "shorter", "longer", "ratio", "target");

    Pair send;
    for (const int packets : {10000, 100000}) {
        const SimProcess display(lmx, {"--netnr", "1"}, (folder / "sim.out").string());
        if (display.port().empty()) {
            std::fprintf(stderr, "lmx sim did not start\n");
            return 1;
        }
        const std::string report = (folder / "report.jsonl").string();
        const MeasuredRun run = runMeasured({lmx, "send", "--port", display.port(), "--repeat",
                                             std::to_string(packets / kPacketsPerRun), "--report", report, list},
                                            {}, 0, 600000);
        if (run.exitCode != 0) {
            std::fprintf(stderr, "lmx send --repeat over %d packets ended with %d:\n%s%s\n", packets,
                         run.exitCode, run.err.c_str(), run.out.substr(run.out.size() > 2000 ? run.out.size() - 2000 : 0).c_str());
            failed = true;
        }
        std::printf("  lmx send, %6d packets: %.1f s, %.3f ms a packet\n", packets, static_cast<double>(run.ms) / 1000.0,
                    static_cast<double>(run.ms) / packets);
        (packets == 10000 ? send.shortKb : send.longKb) = run.peakKb;
    }
    row("lmx send --repeat --report, 100,000 / 10,000", send);

    if (argc > 2) {
        Pair window;
        for (const int packets : {2000, 20000}) {
            const MeasuredRun run = runMeasured({argv[2], "repeat", std::to_string(packets / kPacketsPerRun), lmx},
                                                {}, 0, 600000);
            const std::map<std::string, double> f = figures(run.out);
            if (run.exitCode != 0 || f.count("packets") == 0 || f.at("packets") != packets) {
                std::fprintf(stderr, "the window's repeat over %d packets ended with %d:\n%s%s\n", packets,
                             run.exitCode, run.out.c_str(), run.err.c_str());
                failed = true;
            } else {
                std::printf("  window, %6d packets: %.1f s, %.3f ms CPU a packet, %g failed, %g receive box lines\n",
                            packets, static_cast<double>(run.ms) / 1000.0, f.at("cpu_per_packet_ms"),
                            f.at("failed"), f.at("receive_lines"));
            }
            (packets == 2000 ? window.shortKb : window.longKb) = run.peakKb;
        }
        row("window's Repeat Transmission, 20,000 / 2,000", window);
    }
    fs::remove_all(folder);
    return failed ? 1 : 0;
}

// lmx at the boundaries of the line and the files: the peak resident memory and the time of
// lmx send and lmx scan against a device server that streams without an end byte, and of
// lmx check on the largest command files. Given a second lmx (an earlier build), both run
// side by side and the ratio of their peaks is printed.
//
//     boundary_bench LMX_PROGRAM [BASELINE_LMX_PROGRAM]
#include "fault_server.h"
#include "measured_run.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stdlib.h>

namespace {

namespace fs = std::filesystem;

// A copy of a program in a folder of its own, so that no settings file beside it is read.
std::string copyAlone(const std::string& program, const fs::path& folder)
{
    fs::create_directories(folder);
    const fs::path copy = folder / "lmx";
    fs::copy_file(program, copy, fs::copy_options::overwrite_existing);
    return copy.string();
}

std::string figures(const MeasuredRun& run, const std::string& report)
{
    char text[128];
    std::snprintf(text, sizeof text, "%6.1f MB %6.1f s", static_cast<double>(run.peakKb) / 1024.0,
                  static_cast<double>(run.ms) / 1000.0);
    std::string out = text;
    if (!report.empty()) {
        std::error_code ec;
        std::snprintf(text, sizeof text, ", report %.0f KB",
                      static_cast<double>(fs::file_size(report, ec)) / 1024.0);
        out += text;
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: boundary_bench LMX_PROGRAM [BASELINE_LMX_PROGRAM]\n");
        return 2;
    }
    char name[] = "/tmp/boundary-bench-XXXXXX";
    if (!mkdtemp(name))
        return 1;
    const fs::path folder = name;
    std::vector<std::string> programs{copyAlone(argv[1], folder / "this")};
    if (argc > 2)
        programs.push_back(copyAlone(argv[2], folder / "baseline"));

    const std::string twoBlocks = (folder / "two.lmx").string();
    std::ofstream(twoBlocks, std::ios::binary) << "SOT '01'\r\n'Hi'\r\nEOT\r\nSOT '02'\r\n'Ho'\r\nEOT\r\n";
    const std::string texts = (folder / "texts.lmx").string();
    std::ofstream(texts, std::ios::binary) << std::string(12u * 1024 * 1024, '\'');
    const std::string lines = (folder / "lines.lmx").string();
    {
        std::ofstream out(lines, std::ios::binary);
        for (int i = 0; i < 1000000; ++i)
            out << '\'' << i % 100 << "'\r\n";
    }
    const std::string report = (folder / "r.jsonl").string();

    struct Case {
        const char* what;
        bool server;
        std::vector<std::string> args;
        std::string report;
    };
    FaultServer endless(Fault::Endless);
    const Case cases[] = {
            {"lmx send, 2 blocks, a server streaming 0x01 ", true,
             {"send", "--port", endless.portName(), "--report", report, twoBlocks}, report},
            {"lmx scan 1..5 --timeout 2000, the same      ", true,
             {"scan", "--port", endless.portName(), "--to", "5", "--timeout", "2000"}, ""},
            {"lmx check, 12 MB of empty texts             ", false, {"check", texts}, ""},
            {"lmx check, 1,000,000 short lines            ", false, {"check", lines}, ""},
    };
    std::printf("peak memory, time                             this lmx%s\n",
                programs.size() > 1 ? "                           | baseline                         | peak ratio" : "");
    for (const Case& c : cases) {
        std::string line = c.what;
        long peaks[2] = {0, 0};
        for (size_t p = 0; p < programs.size(); ++p) {
            std::vector<std::string> args{programs[p]};
            args.insert(args.end(), c.args.begin(), c.args.end());
            const MeasuredRun run = runMeasured(args, {}, 0, 120000);
            peaks[p] = run.peakKb;
            line += (p ? " | " : "") + figures(run, c.report) + (run.killed ? " (killed)" : "");
        }
        if (programs.size() > 1 && peaks[1] > 0) {
            char ratio[32];
            std::snprintf(ratio, sizeof ratio, " | %.3f", static_cast<double>(peaks[0]) / static_cast<double>(peaks[1]));
            line += ratio;
        }
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
    std::printf("(targets: send and scan under 100 MB, ending by their time-outs; check under 50 MB)\n");
    fs::remove_all(folder);
    return 0;
}

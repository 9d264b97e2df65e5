// lmx at the boundaries of the line and the files, run as a program: device servers that
// misbehave, Ctrl+C at awkward moments, the largest command files; every run ends by its
// time-out, in bounded memory.
#include "bench/fault_server.h"
#include "bench/measured_run.h"
#include "tests/support/lmx_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

// Under AddressSanitizer its shadow and its allocator's caches count as the program's memory.
#ifdef __SANITIZE_ADDRESS__
constexpr long kSanitizerFactor = 4;
#else
constexpr long kSanitizerFactor = 1;
#endif
constexpr long kMaxLineRunKb = 100 * 1024 * kSanitizerFactor;
constexpr long kMaxCheckKb = 50 * 1024 * kSanitizerFactor;

struct Lmx : LmxCopy {
    MeasuredRun run(std::vector<std::string> args, const InterruptWhen& when = {}, int interrupts = 1) const
    {
        args.insert(args.begin(), path.toStdString());
        return runMeasured(args, when, interrupts);
    }
    std::string name(const char* file) const { return dir.filePath(file).toStdString(); }
};

// What each misbehaving server does to lmx send (how stderr begins) and to lmx scan (its
// first line; nullptr: nothing is listed, stderr begins as for lmx send).
struct FaultRow {
    const char* name;
    Fault fault;
    const char* sendError;
    const char* scanFirst;
};
const FaultRow kFaults[] = {
        {"garbage", Fault::Garbage, "Error Invalid hex val in answer at Network Nr\n",
         "NetNr 1: noise: Invalid hex val in answer at Network Nr"},
        {"endless", Fault::Endless, "Error Answer too long at ACK\n", "NetNr 1: noise: Answer too long at ACK (no end byte)"},
        {"slow", Fault::Slow, "Error Answer packet incomplete at", "NetNr 1: noise: Answer packet incomplete at"},
        {"partial", Fault::Partial, "Error Answer packet incomplete at", "NetNr 1: noise: Answer packet incomplete at"},
        {"oversized", Fault::Oversized, "Error Answer too long at ACK\n", "NetNr 1: noise: Answer too long at ACK"},
        {"closing", Fault::Closing, "Lost connection to ComPort :tcp://127.0.0.1:", nullptr},
};

} // namespace

// Two display blocks against each: each answer wait ends by its time-out or the lost
// connection, keeps no more than an answer can be, and the report stays small.
TEST(LmxFaults, SendEndsByItsTimeOutInBoundedMemory)
{
    Lmx lmx;
    const QString file = lmx.file("two.lmx", "SOT '01'\r\n'Hi'\r\nEOT\r\nSOT '02'\r\n'Ho'\r\nEOT\r\n");
    for (const FaultRow& row : kFaults) {
        SCOPED_TRACE(row.name);
        FaultServer server(row.fault);
        const MeasuredRun run = lmx.run({"send", "--port", server.portName(), "--report", lmx.name("r.jsonl"),
                                         file.toStdString()});
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_EQ(run.err.rfind(row.sendError, 0), 0u) << run.err;
        EXPECT_LT(run.peakKb, kMaxLineRunKb);
        EXPECT_LT(run.ms, 10000); // two time-outs of 1000 ms, not the stream's length
        EXPECT_LT(readAll(lmx.dir.filePath("r.jsonl")).size(), 8192);
    }
}

// A scan of three numbers against each: whatever came is listed as noise, no display is
// counted, and the exit code says none answered. A server that closes ends the scan.
TEST(LmxFaults, ScanCountsNoNoiseAsADisplay)
{
    Lmx lmx;
    for (const FaultRow& row : kFaults) {
        SCOPED_TRACE(row.name);
        FaultServer server(row.fault);
        const MeasuredRun run = lmx.run({"scan", "--port", server.portName(), "--to", "3", "--timeout", "300"});
        EXPECT_EQ(run.exitCode, 1) << run.err;
        if (row.scanFirst) {
            EXPECT_EQ(run.out.rfind(row.scanFirst, 0), 0u) << run.out;
            EXPECT_NE(run.out.find("\n0 displays answered\n"), std::string::npos) << run.out;
            EXPECT_NE(run.out.find(" gave noise, not counted as"), std::string::npos) << run.out;
        } else {
            EXPECT_EQ(run.out, "0 displays answered\n");
            EXPECT_EQ(run.err.rfind(row.sendError, 0), 0u) << run.err;
        }
        EXPECT_LT(run.peakKb, kMaxLineRunKb);
        EXPECT_LT(run.ms, 10000);
    }
}

// The first Ctrl+C waits for the probe under way (here up to 10 s) and says so; the second
// does not wait.
TEST(LmxFaults, ASecondCtrlCEndsAScanAtOnce)
{
    Lmx lmx;
    FaultServer server(Fault::Silent);
    const std::string waits = "lmx scan: stopping after the probe under way; Ctrl+C again stops at once\n";
    bool first = true;
    const MeasuredRun run = lmx.run({"scan", "--port", server.portName(), "--timeout", "10000"},
                                    [&](const std::string&, const std::string& err) {
                                        const bool due = first ? server.packets() > 0 : err == waits;
                                        first = first && !due;
                                        return due;
                                    }, 2);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, waits + "lmx scan: interrupted\n");
    EXPECT_EQ(run.out, "0 displays answered\n");
    EXPECT_LT(run.ms, 5000);
}

// lmx check holds a line at a time, not the file: the largest file of the lines that cost
// the most (empty texts, all on one line) and a million short lines.
TEST(LmxCheck, ALargeFileIsCheckedInMemoryOfALine)
{
    Lmx lmx;
    const std::string texts = lmx.name("texts.lmx");
    std::ofstream(texts, std::ios::binary) << std::string(12u * 1024 * 1024, '\'');
    const std::string lines = lmx.name("lines.lmx");
    {
        std::ofstream out(lines, std::ios::binary);
        for (int i = 0; i < 1000000; ++i)
            out << '\'' << i % 100 << "'\r\n";
    }
    for (const auto& [file, commands] : {std::pair{texts, 6u * 1024 * 1024}, {lines, 1000000u}}) {
        const MeasuredRun run = lmx.run({"check", file, "--save", lmx.name("out.lmx")});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_LT(run.peakKb, kMaxCheckKb) << file;
        // Every command line in both boxes, and the file saved back line for line.
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2 * (commands + 1) + 10) << file;
        EXPECT_EQ(std::filesystem::file_size(lmx.name("out.lmx")), file == texts ? 4 * commands + 2
                                                                                 : std::filesystem::file_size(lines) + 2);
    }
}

// Each failure says what happened and why, with the exit code the help texts give.
TEST(LmxTexts, EachFailureSaysWhatHappenedAndWhy)
{
    Lmx lmx;
    const std::string file = lmx.file("a.lmx", "'x'\r\n").toStdString();
    const std::string longPort = "/tmp/" + std::string(300, 'x');
    const std::string missing = lmx.name("missing.lmx");
    struct Row {
        std::vector<std::string> args;
        int exitCode;
        std::string error; // how stderr begins
    };
    const Row rows[] = {
            // a lock file that cannot be made is no proof of another program
            {{"send", "--port", longPort, "--netnr", "1", file}, 1,
             "Can not open ComPort :" + longPort + "\nFile name too long.\n" + longPort + " does not exist."},
            {{"check", file, "--save", ""}, 2, "lmx check: --save needs a file name\n"},
            {{"check", missing}, 1, "Failed to open file " + missing + ".\r\nNo such file or directory.\n"},
            {{"send", "--port", "/dev/null", lmx.name(".")}, 2, "Failed to open file " + lmx.name(".") + ".\r\nIt is a folder, not a file.\n"},
            {{"sim", "--listen", "[::1"}, 2, "lmx sim: --listen takes [HOST:]PORT, PORT 0..65535, not '[::1'\n"},
    };
    for (const Row& row : rows) {
        const MeasuredRun run = lmx.run(row.args);
        EXPECT_EQ(run.exitCode, row.exitCode) << row.args[0] << " " << row.args[1];
        EXPECT_EQ(run.err.substr(0, row.error.size()), row.error);
    }
}

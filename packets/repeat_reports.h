#pragma once
// What repeat runs write: the line each run prints, the statistics as a table and as the
// closing line of the JSON Lines report, the JUnit test cases gathered over all runs, and the
// report file itself, written as the runs go.

#include "exchange_reports.h"
#include "files/atomic_file_saver.h"
#include "run_statistics.h"

#include <cstdio>
#include <string>
#include <vector>

namespace lmx {

// "Run 12 of 200: OK (34 packets, 412 ms)", "Run 13 of 200: FAILED (34 packets, 2 failed:
// Invalid answer CRC at CRC)"; without "of N" when plannedRuns is 0.
std::string runLine(int run, int plannedRuns, const RunSummary& summary);

// The table printed at the end, its last line "N failure(s) in M run(s)".
std::vector<std::string> statisticsTable(const RunStatistics& statistics);
std::string failureCountLine(const RunStatistics& statistics);
// {"statistics": {...}} as one line, LF.
std::string statisticsJson(const RunStatistics& statistics);

// The display blocks over all runs, one JUnit test case each: failed when it failed in any
// run (the message gives in how many and the first failure), skipped when no run reached it.
// One entry per block of the list, however many runs there were.
class BlockTally {
public:
    void addRun(const ExchangeReport& report, int run);
    std::string junit(const std::string& suiteName, const std::string& end) const;

private:
    struct Block {
        int netNr = 0;
        int number = 0;
        int reached = 0; // runs that were not skipped here
        int failed = 0;
        double ms = 0;
        int firstFailedRun = 0;
        std::string firstMessage;
        std::string firstDetails;
        std::string skipMessage;
    };
    std::vector<Block> m_blocks;
};

// A report written as the runs go: created (a file of that name is replaced), each text
// added and flushed at once, so that a run cut short keeps everything up to its last run.
// After the first failure nothing more is written; close() and failure() tell it.
class ReportStream {
public:
    ReportStream() = default;
    ~ReportStream();
    ReportStream(const ReportStream&) = delete;
    ReportStream& operator=(const ReportStream&) = delete;

    WriteResult open(const std::string& path);
    // False when this write failed (the first failure; later ones are not tried).
    bool append(const std::string& text);
    WriteResult close();
    bool isOpen() const { return m_file != nullptr; }
    const WriteResult& failure() const { return m_failure; }

private:
    std::FILE* m_file = nullptr;
    std::string m_path;
    WriteResult m_failure;
};

} // namespace lmx

#pragma once
// The exchanges of a transmission as text: the cells of the Packets tab, its CSV export, the
// JSON Lines report and the JUnit report of lmx send (one test case per display block).

#include "exchange_record.h"
#include "files/atomic_file_saver.h"
#include "transmission/packet_observer.h"
#include "transmission/transmission_plan.h"

#include <optional>
#include <string>
#include <vector>

namespace lmx {

enum class ExchangeColumn { Time, NetNr, Packet, Length, Answer, Result, Param, Rtt, Count };
enum class SummaryColumn { NetNr, Packets, Ok, Failed, MeanRtt, MaxRtt, LastFailure, Count };

const char* columnTitle(ExchangeColumn column);
const char* columnTitle(SummaryColumn column);
// Latin-1 texts; an awaited exchange shows only what went out.
std::string cellText(const ExchangeRecord& rec, ExchangeColumn column);
std::string cellText(const DisplaySummary& display, SummaryColumn column);

// Milliseconds with three decimals, whatever the locale ("12.345").
std::string millisecondsText(double ms);

// What the reports are made of; the records as the recorder keeps them.
struct ExchangeReport {
    const std::vector<ExchangeRecord>& records;
    const TransmissionPlan& plan;
    std::optional<TransmissionEnd> end; // empty while the transmission runs
};

// The table's columns and both packets' bytes in hex, one line per exchange, CR LF.
std::string packetsCsv(const std::vector<ExchangeRecord>& records);
// One JSON object per exchange, then {"summary": {...}}; UTF-8, LF.
std::string jsonLinesReport(const ExchangeReport& report);
// The exchanges' objects alone; with `run` (from 1) each begins with "run": run.
std::string jsonRecords(const ExchangeReport& report, int run = 0);
// Latin-1 text as a JSON string, quoted (UTF-8).
std::string jsonText(const std::string& text);

// How one display block of the plan fared, as the JUnit report judges it: failed when an
// answer failed or the transmission was aborted or stopped inside it or right before it,
// skipped when it ended earlier.
struct BlockOutcome {
    enum class Verdict { Passed, Failed, Skipped };
    Verdict verdict = Verdict::Passed;
    int netNr = 0;
    int number = 0;      // the block's number among those to its display, from 1
    double ms = 0;       // the round trips of its exchanges, the waits of those unanswered
    std::string message; // failed or skipped: why
    std::string details; // failed: one line per failed packet
};
std::vector<BlockOutcome> blockOutcomes(const ExchangeReport& report);

// A JUnit test case and the whole file of them; `end` is the property of that name.
struct JUnitCase {
    std::string name;
    BlockOutcome::Verdict verdict = BlockOutcome::Verdict::Passed;
    double ms = 0;
    std::string message;
    std::string details;
};
std::string junitText(const std::vector<JUnitCase>& cases, const std::string& suiteName,
                      const std::string& end);
// "NetNr 3 block 2"
std::string blockCaseName(int netNr, int number);
// One test case "NetNr N block K" per display block of the plan, judged as blockOutcomes.
std::string junitReport(const ExchangeReport& report, const std::string& suiteName);

// Writes the text so that the file is either the whole new one or the one before.
WriteResult writeReportFile(const std::string& fileName, const std::string& text,
                            const AtomicFileSaver& saver = defaultFileSaver());

} // namespace lmx

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
// One test case "NetNr N block K" per display block of the plan: failed when an answer failed
// or the transmission was aborted or stopped inside it or right before it, skipped when it
// ended earlier.
std::string junitReport(const ExchangeReport& report, const std::string& suiteName);

// Writes the text so that the file is either the whole new one or the one before.
WriteResult writeReportFile(const std::string& fileName, const std::string& text,
                            const AtomicFileSaver& saver = defaultFileSaver());

} // namespace lmx

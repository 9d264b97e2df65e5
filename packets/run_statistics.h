#pragma once
// The statistics of repeat runs: counters per run, per display, per answer state and per
// result code, and the round-trip times as a histogram. Its size depends on the displays and
// the kinds of answer met, never on how many exchanges there were, so a run of a night keeps
// the memory of its first minute.

#include "exchange_record.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lmx {

// Round-trip times in buckets 2 % wide (10 us up to 100 s, longer ones in the last), so a
// percentile is known within 2 % from a fixed number of counters. Minimum, maximum and mean
// are exact.
class RttHistogram {
public:
    static constexpr double kRatio = 1.02;
    static constexpr double kFirstUs = 10.0;
    static constexpr size_t kBuckets = 816;

    void add(double ms);
    int64_t count() const { return m_count; }
    std::optional<double> minMs() const;
    std::optional<double> maxMs() const;
    std::optional<double> meanMs() const;
    // The time below which `fraction` (0..1) of the times lie: the upper edge of the bucket
    // that holds it, never beyond the largest time seen (the largest time itself when it lies
    // beyond the buckets).
    std::optional<double> percentileMs(double fraction) const;

private:
    static size_t bucketOf(double us);
    static double upperEdgeUs(size_t bucket);

    std::array<int64_t, kBuckets> m_buckets{};
    int64_t m_count = 0;
    double m_sumMs = 0;
    double m_minMs = 0;
    double m_maxMs = 0;
};

struct DisplayStatistics {
    int netNr = 0;
    int64_t packets = 0;
    int64_t failed = 0;
    std::map<std::string, int64_t> states;  // "OK", "no answer", "Invalid answer CRC at CRC", ...
    std::map<std::string, int64_t> results; // "0x15" (extended), "7" (the normal character)
    RttHistogram rtt;
    int firstFailureRun = 0; // 0: none
    int lastFailureRun = 0;
};

// A failed exchange as the statistics keep it: the first and the last of all.
struct FailureNote {
    int run = 0;
    int netNr = 0;
    int64_t timeUs = 0; // when its packet went out, us since 1970 (UTC)
    std::string failure;
};

// What one run did, for its line.
struct RunSummary {
    int packets = 0;
    int failed = 0;           // failed exchanges
    bool failedRun = false;   // a failed exchange, a block not sent, or an early end by a rule
    bool stopped = false;     // cut short by a stop
    std::string firstFailure; // in words; "NetNr N: " before it when the run had many displays
    int64_t ms = 0;           // start to end
};

// The run's records summed up. `outcomeFailed` is the transmissions' own verdict (a block not
// sent, an early end); `why` says it in words for a run without a failed exchange.
RunSummary summarizeRun(const std::vector<ExchangeRecord>& records, bool outcomeFailed,
                        bool stopped, const std::string& why, int64_t ms);

class RunStatistics {
public:
    // The exchanges of run `run` (from 1), judged; then the run itself.
    void addExchange(const ExchangeRecord& rec, int run);
    void addRun(const RunSummary& run);
    void setInterrupted(bool on) { m_interrupted = on; ++m_version; }
    // How the runs kept their period: what was asked, the mean start to start, late runs.
    void setSchedule(int requestedMs, std::optional<double> achievedMs, int lateRuns);
    void reset();

    int64_t runs() const { return m_runs; }
    int64_t failedRuns() const { return m_failedRuns; }
    int64_t stoppedRuns() const { return m_stoppedRuns; }
    int64_t packets() const { return m_packets; }
    int64_t failedPackets() const { return m_failedPackets; }
    bool interrupted() const { return m_interrupted; }
    int requestedIntervalMs() const { return m_requestedIntervalMs; }
    std::optional<double> achievedIntervalMs() const { return m_achievedIntervalMs; }
    int lateRuns() const { return m_lateRuns; }
    // In the order they were first addressed.
    const std::vector<DisplayStatistics>& displays() const { return m_displays; }
    const std::optional<FailureNote>& firstFailure() const { return m_first; }
    const std::optional<FailureNote>& lastFailure() const { return m_last; }
    // Changes with every change above: a view looks again only when it moved.
    uint64_t version() const { return m_version; }

private:
    int64_t m_runs = 0;
    int64_t m_failedRuns = 0;
    int64_t m_stoppedRuns = 0;
    int64_t m_packets = 0;
    int64_t m_failedPackets = 0;
    bool m_interrupted = false;
    int m_requestedIntervalMs = 0;
    std::optional<double> m_achievedIntervalMs;
    int m_lateRuns = 0;
    std::vector<DisplayStatistics> m_displays;
    std::optional<FailureNote> m_first;
    std::optional<FailureNote> m_last;
    uint64_t m_version = 0;
};

// The key of a record's result in DisplayStatistics::results; empty when it has none.
std::string resultKey(const ExchangeRecord& rec);

} // namespace lmx

#include "run_statistics.h"

#include "protocol/hex.h"

#include <algorithm>
#include <cmath>

namespace lmx {

size_t RttHistogram::bucketOf(double us)
{
    if (!(us >= kFirstUs)) // NaN too
        return 0;
    const double steps = std::log(us / kFirstUs) / std::log(kRatio);
    return std::min(kBuckets - 1, static_cast<size_t>(steps) + 1);
}

double RttHistogram::upperEdgeUs(size_t bucket)
{
    return kFirstUs * std::pow(kRatio, static_cast<double>(bucket));
}

void RttHistogram::add(double ms)
{
    if (!std::isfinite(ms) || ms < 0)
        return;
    ++m_buckets[bucketOf(ms * 1000.0)];
    m_minMs = m_count == 0 ? ms : std::min(m_minMs, ms);
    m_maxMs = m_count == 0 ? ms : std::max(m_maxMs, ms);
    m_sumMs += ms;
    ++m_count;
}

std::optional<double> RttHistogram::minMs() const
{
    return m_count ? std::optional<double>(m_minMs) : std::nullopt;
}

std::optional<double> RttHistogram::maxMs() const
{
    return m_count ? std::optional<double>(m_maxMs) : std::nullopt;
}

std::optional<double> RttHistogram::meanMs() const
{
    return m_count ? std::optional<double>(m_sumMs / static_cast<double>(m_count)) : std::nullopt;
}

std::optional<double> RttHistogram::percentileMs(double fraction) const
{
    if (m_count == 0)
        return std::nullopt;
    const auto rank = std::max<int64_t>(
            1, static_cast<int64_t>(std::ceil(std::clamp(fraction, 0.0, 1.0) * static_cast<double>(m_count))));
    int64_t seen = 0;
    for (size_t b = 0; b < kBuckets; ++b) {
        seen += m_buckets[b];
        // The last bucket has no upper edge: all that is known of it is the largest time.
        if (seen >= rank)
            return b + 1 == kBuckets ? m_maxMs : std::clamp(upperEdgeUs(b) / 1000.0, m_minMs, m_maxMs);
    }
    return m_maxMs;
}

std::string resultKey(const ExchangeRecord& rec)
{
    if (rec.result)
        return "0x" + byteToHex(static_cast<uint8_t>(*rec.result));
    if (rec.resultChar)
        return std::string(1, rec.resultChar);
    return {};
}

RunSummary summarizeRun(const std::vector<ExchangeRecord>& records, bool outcomeFailed,
                        bool stopped, const std::string& why, int64_t ms)
{
    RunSummary s;
    s.stopped = stopped;
    s.ms = ms;
    const bool many = std::any_of(records.begin(), records.end(), [&](const ExchangeRecord& r) {
        return r.netNr != records.front().netNr;
    });
    for (const ExchangeRecord& rec : records) {
        ++s.packets;
        if (rec.ok)
            continue;
        if (s.failed++ == 0)
            s.firstFailure = (many ? "NetNr " + std::to_string(rec.netNr) + ": " : "") + rec.failure;
    }
    s.failedRun = outcomeFailed || s.failed > 0;
    if (s.failedRun && s.firstFailure.empty())
        s.firstFailure = why;
    return s;
}

void RunStatistics::addExchange(const ExchangeRecord& rec, int run)
{
    auto d = std::find_if(m_displays.begin(), m_displays.end(),
                          [&](const DisplayStatistics& x) { return x.netNr == rec.netNr; });
    if (d == m_displays.end()) {
        m_displays.emplace_back();
        d = m_displays.end() - 1;
        d->netNr = rec.netNr;
    }
    ++m_packets;
    ++d->packets;
    ++d->states[rec.evaluated ? rec.state : "awaiting"];
    if (const std::string key = resultKey(rec); !key.empty())
        ++d->results[key];
    if (rec.rttMs)
        d->rtt.add(*rec.rttMs);
    if (!rec.ok) {
        ++m_failedPackets;
        ++d->failed;
        if (d->firstFailureRun == 0)
            d->firstFailureRun = run;
        d->lastFailureRun = run;
        const FailureNote note{run, rec.netNr, rec.writtenUs, rec.failure};
        if (!m_first)
            m_first = note;
        m_last = note;
    }
    ++m_version;
}

void RunStatistics::addRun(const RunSummary& run)
{
    ++m_runs;
    m_failedRuns += run.failedRun;
    m_stoppedRuns += run.stopped;
    ++m_version;
}

void RunStatistics::setSchedule(int requestedMs, std::optional<double> achievedMs, int lateRuns)
{
    m_requestedIntervalMs = requestedMs;
    m_achievedIntervalMs = achievedMs;
    m_lateRuns = lateRuns;
    ++m_version;
}

void RunStatistics::reset()
{
    const uint64_t version = m_version;
    *this = RunStatistics();
    m_version = version + 1;
}

} // namespace lmx

#include "repeat_reports.h"

#include "files/output_paths.h"
#include "platform/wall_clock.h"
#include "protocol/answer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lmx {

namespace {

std::string plural(int64_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string padLeft(const std::string& text, size_t width)
{
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string padRight(const std::string& text, size_t width)
{
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string msOrDash(const std::optional<double>& ms)
{
    return ms ? millisecondsText(*ms) : "-";
}

std::string msOrNull(const std::optional<double>& ms)
{
    return ms ? millisecondsText(*ms) : "null";
}

std::string runOrNull(int run)
{
    return run > 0 ? std::to_string(run) : "null";
}

std::string failureText(const std::optional<FailureNote>& note)
{
    if (!note)
        return "none";
    const LocalDateTime t = localDateTime(note->timeUs);
    return "run " + std::to_string(note->run) + ", " + dateStampText(t) + " " + timeStampText(t)
         + ", NetNr " + std::to_string(note->netNr) + ": " + note->failure;
}

// A result key with its meaning: "0x15 Param value out of range", "7 ...".
std::string resultWords(const std::string& key)
{
    if (key.size() == 4 && key.compare(0, 2, "0x") == 0)
        return key + " " + resultText(static_cast<unsigned>(std::stoul(key.substr(2), nullptr, 16)));
    return key + " " + normalResultText(key.empty() ? '\0' : key[0]);
}

template <class Map>
std::string jsonCounts(const Map& counts)
{
    std::string out = "{";
    for (const auto& [key, count] : counts)
        out += (out.size() > 1 ? "," : "") + jsonText(key) + ":" + std::to_string(count);
    return out + "}";
}

} // namespace

std::string runLine(int run, int plannedRuns, const RunSummary& s)
{
    std::string line = "Run " + std::to_string(run);
    if (plannedRuns > 0)
        line += " of " + std::to_string(plannedRuns);
    line += s.failedRun ? ": FAILED (" : s.stopped ? ": STOPPED (" : ": OK (";
    line += plural(s.packets, "packet", "packets");
    if (s.failed > 0)
        return line + ", " + std::to_string(s.failed) + " failed: " + s.firstFailure + ")";
    if (s.failedRun)
        return line + ": " + s.firstFailure + ")";
    return line + ", " + std::to_string(s.ms) + " ms)";
}

std::string failureCountLine(const RunStatistics& s)
{
    return std::to_string(s.failedRuns()) + " failure(s) in " + std::to_string(s.runs())
         + " run(s)";
}

std::vector<std::string> statisticsTable(const RunStatistics& s)
{
    std::vector<std::string> out;
    const auto row = [&](const char* label, const std::string& value) {
        out.push_back("  " + padRight(label, 16) + value);
    };
    out.push_back(std::string("Statistics") + (s.interrupted() ? " (interrupted)" : "") + ":");
    row("Runs", std::to_string(s.runs()));
    row("Failed runs", std::to_string(s.failedRuns()));
    row("Packets", std::to_string(s.packets()));
    row("Failed packets", std::to_string(s.failedPackets()));
    row("Interval", "requested " + std::to_string(s.requestedIntervalMs()) + " ms, achieved "
                            + (s.achievedIntervalMs() ? millisecondsText(*s.achievedIntervalMs()) + " ms"
                                                      : std::string("-"))
                            + ", " + plural(s.lateRuns(), "late run", "late runs"));
    row("First failure", failureText(s.firstFailure()));
    row("Last failure", failureText(s.lastFailure()));

    static const char* const kTitles[] = {"NetNr",   "Packets", "Failed",  "RTT min", "RTT mean",
                                          "RTT p95", "RTT max", "First failed run", "Last failed run"};
    std::vector<std::vector<std::string>> rows;
    for (const DisplayStatistics& d : s.displays())
        rows.push_back({std::to_string(d.netNr), std::to_string(d.packets), std::to_string(d.failed),
                        msOrDash(d.rtt.minMs()), msOrDash(d.rtt.meanMs()),
                        msOrDash(d.rtt.percentileMs(0.95)), msOrDash(d.rtt.maxMs()),
                        d.firstFailureRun ? std::to_string(d.firstFailureRun) : "-",
                        d.lastFailureRun ? std::to_string(d.lastFailureRun) : "-"});
    out.push_back("Per display (round trips in ms):");
    rows.insert(rows.begin(), std::vector<std::string>(std::begin(kTitles), std::end(kTitles)));
    std::vector<size_t> widths(std::size(kTitles), 0);
    for (const auto& r : rows)
        for (size_t c = 0; c < r.size(); ++c)
            widths[c] = std::max(widths[c], r[c].size());
    for (const auto& r : rows) {
        std::string line;
        for (size_t c = 0; c < r.size(); ++c)
            line += "  " + padLeft(r[c], widths[c]);
        out.push_back(line);
    }
    out.push_back("Answers and results:");
    for (const DisplayStatistics& d : s.displays()) {
        const std::string netNr = "NetNr " + std::to_string(d.netNr) + "  ";
        for (const auto& [state, count] : d.states)
            out.push_back("  " + netNr + padRight(state, 40) + " " + padLeft(std::to_string(count), 8));
        for (const auto& [key, count] : d.results)
            out.push_back("  " + netNr + padRight("result " + resultWords(key), 40) + " "
                          + padLeft(std::to_string(count), 8));
    }
    out.push_back(failureCountLine(s));
    return out;
}

std::string statisticsJson(const RunStatistics& s)
{
    std::string o = "{\"statistics\":{\"runs\":" + std::to_string(s.runs());
    o += ",\"failed_runs\":" + std::to_string(s.failedRuns());
    o += ",\"packets\":" + std::to_string(s.packets());
    o += ",\"failed_packets\":" + std::to_string(s.failedPackets());
    o += ",\"interrupted\":" + std::string(s.interrupted() ? "true" : "false");
    o += ",\"displays\":[";
    bool first = true;
    for (const DisplayStatistics& d : s.displays()) {
        o += first ? "" : ",";
        first = false;
        o += "{\"netnr\":" + std::to_string(d.netNr) + ",\"packets\":" + std::to_string(d.packets)
           + ",\"failed\":" + std::to_string(d.failed) + ",\"states\":" + jsonCounts(d.states)
           + ",\"results\":" + jsonCounts(d.results)
           + ",\"rtt_min_ms\":" + msOrNull(d.rtt.minMs())
           + ",\"rtt_mean_ms\":" + msOrNull(d.rtt.meanMs())
           + ",\"rtt_p95_ms\":" + msOrNull(d.rtt.percentileMs(0.95))
           + ",\"rtt_max_ms\":" + msOrNull(d.rtt.maxMs())
           + ",\"first_failure_run\":" + runOrNull(d.firstFailureRun)
           + ",\"last_failure_run\":" + runOrNull(d.lastFailureRun) + "}";
    }
    return o + "]}}\n";
}

// --- JUnit over the runs -------------------------------------------------------------------

void BlockTally::addRun(const ExchangeReport& report, int run)
{
    for (BlockOutcome& o : blockOutcomes(report)) {
        auto b = std::find_if(m_blocks.begin(), m_blocks.end(), [&](const Block& x) {
            return x.netNr == o.netNr && x.number == o.number;
        });
        if (b == m_blocks.end()) {
            m_blocks.emplace_back();
            b = m_blocks.end() - 1;
            b->netNr = o.netNr;
            b->number = o.number;
        }
        b->ms += o.ms;
        switch (o.verdict) {
        case BlockOutcome::Verdict::Skipped:
            if (b->skipMessage.empty())
                b->skipMessage = std::move(o.message);
            break;
        case BlockOutcome::Verdict::Failed:
            ++b->reached;
            if (b->failed++ == 0) {
                b->firstFailedRun = run;
                b->firstMessage = std::move(o.message);
                b->firstDetails = std::move(o.details);
            }
            break;
        case BlockOutcome::Verdict::Passed:
            ++b->reached;
            break;
        }
    }
}

std::string BlockTally::junit(const std::string& suiteName, const std::string& end) const
{
    std::vector<JUnitCase> cases;
    for (const Block& b : m_blocks) {
        JUnitCase c;
        c.name = blockCaseName(b.netNr, b.number);
        c.ms = b.ms;
        if (b.failed > 0) {
            c.verdict = BlockOutcome::Verdict::Failed;
            c.message = "failed in " + std::to_string(b.failed) + " of "
                      + plural(b.reached, "run", "runs") + "; first in run "
                      + std::to_string(b.firstFailedRun) + ": " + b.firstMessage;
            c.details = b.firstDetails;
        } else if (b.reached == 0) {
            c.verdict = BlockOutcome::Verdict::Skipped;
            c.message = b.skipMessage;
        }
        cases.push_back(std::move(c));
    }
    return junitText(cases, suiteName, end);
}

// --- the report file -----------------------------------------------------------------------

ReportStream::~ReportStream()
{
    close();
}

WriteResult ReportStream::open(const std::string& path)
{
    close();
    m_failure = {};
    m_path = path;
    if (const std::string why = streamedFileRefusal(path); !why.empty())
        return m_failure = {false, "Failed to write to file " + path + ".", why};
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file)
        m_failure = {false, "Failed to write to file " + path + ".", std::strerror(errno)};
    return m_failure;
}

bool ReportStream::append(const std::string& text)
{
    if (!m_file || !m_failure.ok)
        return false;
    // Flushed at once: what was written is in the file even if the program is killed next.
    if (std::fwrite(text.data(), 1, text.size(), m_file) != text.size() || std::fflush(m_file) != 0) {
        m_failure = {false, "Failed to write to file " + m_path + ".", std::strerror(errno)};
        return false;
    }
    return true;
}

WriteResult ReportStream::close()
{
    if (!m_file)
        return m_failure;
    if (std::fclose(m_file) != 0 && m_failure.ok)
        m_failure = {false, "Failed to write to file " + m_path + ".", std::strerror(errno)};
    m_file = nullptr;
    return m_failure;
}

} // namespace lmx

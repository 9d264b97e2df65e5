#include "repeat_schedule.h"

#include "waiter.h"

#include <algorithm>
#include <cctype>

namespace lmx {

namespace {

constexpr struct {
    char unit;
    int64_t ms;
} kUnits[] = {{'d', 24LL * 3600 * 1000}, {'h', 3600LL * 1000}, {'m', 60LL * 1000}, {'s', 1000}};

} // namespace

std::optional<int64_t> parseDuration(std::string_view text)
{
    int64_t total = 0;
    size_t at = 0;
    size_t lastUnit = 0; // units go from the largest down, each once: "1h30m", not "30m1h"
    if (text.empty())
        return std::nullopt;
    while (at < text.size()) {
        int64_t n = 0;
        const size_t digits = at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
            n = n * 10 + (text[at++] - '0');
            if (n > RepeatPlan::kMaxDurationMs)
                return std::nullopt;
        }
        if (at == digits || at == text.size())
            return std::nullopt;
        const char unit = static_cast<char>(std::tolower(static_cast<unsigned char>(text[at++])));
        size_t u = lastUnit;
        while (u < std::size(kUnits) && kUnits[u].unit != unit)
            ++u;
        if (u == std::size(kUnits))
            return std::nullopt;
        lastUnit = u + 1;
        total += n * kUnits[u].ms;
        if (total > RepeatPlan::kMaxDurationMs)
            return std::nullopt;
    }
    if (total < 1000)
        return std::nullopt;
    return total;
}

std::string durationText(int64_t ms)
{
    if (ms < 1000 || ms % 1000 != 0)
        return std::to_string(ms) + " ms";
    std::string text;
    for (const auto& u : kUnits) {
        if (ms >= u.ms) {
            text += std::to_string(ms / u.ms) + u.unit;
            ms %= u.ms;
        }
    }
    return text;
}

std::string repeatPlanText(const RepeatPlan& plan)
{
    std::string text = plan.runs == 1 ? "1 run" : plan.runs > 1 ? std::to_string(plan.runs) + " runs" : "runs";
    if (plan.durationMs > 0)
        text += (plan.runs > 0 ? " at most, for " : " for ") + durationText(plan.durationMs);
    else if (plan.runs == 0)
        text += " until stopped";
    if (plan.runs != 1)
        text += plan.intervalMs > 0 ? ", one every " + std::to_string(plan.intervalMs) + " ms"
                                    : ", back to back";
    if (plan.maxFailures == 1)
        text += ", until a run fails";
    else if (plan.maxFailures > 1)
        text += ", until " + std::to_string(plan.maxFailures) + " runs have failed";
    return text;
}

const char* repeatEndText(RepeatEnd end)
{
    switch (end) {
    case RepeatEnd::Runs: return "the runs were done";
    case RepeatEnd::Duration: return "the duration was over";
    case RepeatEnd::Failures: return "the failed runs reached the limit";
    case RepeatEnd::NothingSent: return "a run could not send anything";
    case RepeatEnd::Stopped: return "stopped";
    }
    return "";
}

RepeatSchedule::RepeatSchedule(RepeatPlan plan, const SteadyClock& clock)
    : m_plan(plan), m_clock(clock)
{
}

RepeatSchedule::Next RepeatSchedule::next() const
{
    if (m_stop)
        return {RepeatEnd::Stopped};
    if (m_nothingSent)
        return {RepeatEnd::NothingSent};
    if (m_plan.maxFailures > 0 && m_failedRuns >= m_plan.maxFailures)
        return {RepeatEnd::Failures};
    if (m_plan.runs > 0 && m_runs >= m_plan.runs)
        return {RepeatEnd::Runs};
    if (m_runs == 0)
        return {};
    const int64_t now = m_clock.nowMs();
    const int64_t start = std::max(now, m_nextPlanned);
    if (m_plan.durationMs > 0 && start - m_firstStart >= m_plan.durationMs)
        return {RepeatEnd::Duration};
    return {std::nullopt, start - now};
}

void RepeatSchedule::runStarted()
{
    const int64_t now = m_clock.nowMs();
    if (m_runs == 0) {
        m_firstStart = now;
        m_plannedStart = now;
    } else {
        m_plannedStart = m_nextPlanned;
        m_lateRuns += m_nextLate;
    }
    m_lastStart = now;
    m_nextLate = false;
    ++m_runs;
}

void RepeatSchedule::runEnded(const RunResult& result)
{
    m_failedRuns += result.failed;
    m_nothingSent = m_nothingSent || result.nothingSent;
    const int64_t now = m_clock.nowMs();
    m_nextPlanned = m_plannedStart + m_plan.intervalMs;
    // Too long for its period: the next one goes at once, and the plan from there.
    if (m_plan.intervalMs > 0 && now > m_nextPlanned) {
        m_nextLate = true;
        m_nextPlanned = now;
    }
}

RepeatEnd RepeatSchedule::runAll(Waiter& waiter, const Run& run)
{
    for (;;) {
        Next n = next();
        // A waiter may return a little early: the clock decides when the time has come.
        while (!n.end && n.waitMs > 0) {
            m_waiting = &waiter;
            waiter.wait(static_cast<int>(n.waitMs));
            m_waiting = nullptr;
            n = next();
        }
        if (n.end)
            return *n.end;
        runStarted();
        runEnded(run(m_runs));
    }
}

void RepeatSchedule::requestStop()
{
    m_stop = true;
    if (m_waiting)
        m_waiting->stop();
}

std::optional<double> RepeatSchedule::achievedIntervalMs() const
{
    if (m_runs < 2)
        return std::nullopt;
    return static_cast<double>(m_lastStart - m_firstStart) / (m_runs - 1);
}

int64_t RepeatSchedule::elapsedMs() const
{
    return m_runs == 0 ? 0 : m_clock.nowMs() - m_firstStart;
}

} // namespace lmx

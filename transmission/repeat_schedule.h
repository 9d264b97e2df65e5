#pragma once
// Repeat runs: one command list sent again and again, for a number of runs, for a time, or
// until stopped. A run is whatever the caller does once (one transmission, or one to every
// display of a list in turn). Runs start a period apart, start to start, on the steady
// clock: the schedule is kept against the planned starts, so waits that end a little late do
// not add up over hours. A run that takes longer than the period is followed by the next one
// at once and counted as late; the plan goes on from that start rather than catching up with
// a burst of runs.
//
// What ends a repeat: the runs asked for are done; the duration is over (no run starts once
// it is, the one under way ends as usual); the K-th failed run ended; a run could send
// nothing at all (the port did not open: every later run would end the same way); or a stop
// was asked for. The caller stops a run under way itself; requestStop() only ends a wait
// between runs at once and lets no further run start.

#include "platform/steady_clock.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lmx {

class Waiter;

struct RepeatPlan {
    static constexpr int kMaxRuns = 1000000000;
    static constexpr int64_t kMaxDurationMs = 366LL * 24 * 3600 * 1000;
    static constexpr int kMaxIntervalMs = 24 * 3600 * 1000;

    int runs = 1;            // 0: until stopped or until the duration is over
    int64_t durationMs = 0;  // 0: no time limit
    int intervalMs = 0;      // start to start; 0: back to back
    int maxFailures = 0;     // end after this many failed runs; 0: never

    bool operator==(const RepeatPlan& o) const
    {
        return runs == o.runs && durationMs == o.durationMs && intervalMs == o.intervalMs
            && maxFailures == o.maxFailures;
    }
};

// "90s", "30m", "8h", "2d" and sums of them ("1h30m"): milliseconds, 1 s up to
// RepeatPlan::kMaxDurationMs; nothing for anything else.
std::optional<int64_t> parseDuration(std::string_view text);
// The other way round, in the largest units that fit: "1h30m", "20s", "500 ms".
std::string durationText(int64_t ms);

// The plan in words: "50 runs, back to back", "runs for 8h, one every 500 ms, until 3 runs
// have failed", "runs until stopped, back to back".
std::string repeatPlanText(const RepeatPlan& plan);

enum class RepeatEnd {
    Runs,        // the runs asked for were done
    Duration,    // the time was over
    Failures,    // the failed runs reached the limit
    NothingSent, // a run could not send anything
    Stopped,     // a stop was asked for
};

// "the runs were done", "the duration was over", ...: why a repeat ended, in words.
const char* repeatEndText(RepeatEnd end);

class RepeatSchedule {
public:
    struct RunResult {
        bool failed = false;
        bool nothingSent = false; // no packet went out: the port did not open
    };
    // One run, numbered from 1.
    using Run = std::function<RunResult(int run)>;

    RepeatSchedule(RepeatPlan plan, const SteadyClock& clock);

    // Runs `run` until one of the ends above, waiting on `waiter` between runs.
    RepeatEnd runAll(Waiter& waiter, const Run& run);
    // No further run starts; a wait between runs ends at once.
    void requestStop();
    bool stopRequested() const { return m_stop; }

    const RepeatPlan& plan() const { return m_plan; }
    int runs() const { return m_runs; } // started so far, the one under way included
    int failedRuns() const { return m_failedRuns; }
    int lateRuns() const { return m_lateRuns; }
    // The mean time from one run's start to the next; nothing before the second run.
    std::optional<double> achievedIntervalMs() const;
    // From the first run's start; 0 before it.
    int64_t elapsedMs() const;

    // The steps runAll takes, for a caller with a loop of its own. next() says whether
    // another run may start and how long to wait for it; runStarted() and runEnded() frame
    // each run.
    struct Next {
        std::optional<RepeatEnd> end; // set: no further run
        int64_t waitMs = 0;
    };
    Next next() const;
    void runStarted();
    void runEnded(const RunResult& result);

private:
    RepeatPlan m_plan;
    const SteadyClock& m_clock;
    Waiter* m_waiting = nullptr; // the waiter of a wait under way
    int m_runs = 0;
    int m_failedRuns = 0;
    int m_lateRuns = 0;
    bool m_stop = false;
    bool m_nothingSent = false;
    bool m_nextLate = false;
    int64_t m_firstStart = 0;
    int64_t m_lastStart = 0;
    int64_t m_plannedStart = 0; // of the run under way or the one before
    int64_t m_nextPlanned = 0;
};

} // namespace lmx

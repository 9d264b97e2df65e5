// Repeat runs against a clock the test moves: when runs start, what ends them, late runs and
// the interval achieved, and the durations the options take.
#include "engine_test_support.h"
#include "transmission/repeat_schedule.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace lmx;
using enginetest::ManualWaiter;

namespace {

// The waiter's time is the steady clock; a run moves it on by its own length.
class WaiterClock : public SteadyClock {
public:
    explicit WaiterClock(ManualWaiter& waiter) : m_waiter(waiter) {}
    int64_t nowMs() const override { return m_waiter.now; }

private:
    ManualWaiter& m_waiter;
};

struct Script {
    int64_t runMs = 100;                 // every run's length
    std::map<int, int64_t> longRuns;     // run -> its length, where it differs
    std::set<int> failing;               // runs that fail
    int nothingSentAt = 0;               // this run sends nothing
    int stopAt = 0;                      // a stop comes while this run goes
};

struct Outcome {
    RepeatEnd end;
    std::vector<int64_t> starts;
    int failed = 0;
    int late = 0;
};

Outcome runScript(const RepeatPlan& plan, const Script& script, ManualWaiter& waiter)
{
    WaiterClock clock(waiter);
    RepeatSchedule schedule(plan, clock);
    Outcome out;
    out.end = schedule.runAll(waiter, [&](int run) {
        out.starts.push_back(waiter.now);
        const auto longer = script.longRuns.find(run);
        waiter.now += longer == script.longRuns.end() ? script.runMs : longer->second;
        if (run == script.stopAt)
            schedule.requestStop();
        return RepeatSchedule::RunResult{script.failing.count(run) > 0, run == script.nothingSentAt};
    });
    out.failed = schedule.failedRuns();
    out.late = schedule.lateRuns();
    EXPECT_EQ(schedule.runs(), static_cast<int>(out.starts.size()));
    return out;
}

RepeatPlan plan(int runs, int64_t durationMs = 0, int intervalMs = 0, int maxFailures = 0)
{
    RepeatPlan p;
    p.runs = runs;
    p.durationMs = durationMs;
    p.intervalMs = intervalMs;
    p.maxFailures = maxFailures;
    return p;
}

} // namespace

TEST(RepeatSchedule, EndsByTheFirstLimitReached)
{
    struct Case {
        const char* name;
        RepeatPlan plan;
        Script script;
        RepeatEnd end;
        size_t runs;
    };
    const Case cases[] = {
        {"five runs back to back", plan(5), {}, RepeatEnd::Runs, 5},
        {"20 s at 500 ms", plan(0, 20000, 500), {}, RepeatEnd::Duration, 40},
        {"the runs before the time", plan(10, 20000, 500), {}, RepeatEnd::Runs, 10},
        {"the time before the runs", plan(100, 2000, 500), {}, RepeatEnd::Duration, 4},
        {"back to back for a second", plan(0, 1000), {}, RepeatEnd::Duration, 10},
        {"the third failed run", plan(0, 0, 0, 3), {100, {}, {2, 4, 7, 8}, 0, 0}, RepeatEnd::Failures, 7},
        {"until the first failure", plan(50, 0, 0, 1), {100, {}, {5}, 0, 0}, RepeatEnd::Failures, 5},
        {"the failures after the runs", plan(6, 0, 0, 3), {100, {}, {2, 4}, 0, 0}, RepeatEnd::Runs, 6},
        {"a run that sent nothing", plan(0), {100, {}, {1, 2}, 2, 0}, RepeatEnd::NothingSent, 2},
        {"a stop in a run", plan(0, 0, 250), {100, {}, {}, 0, 3}, RepeatEnd::Stopped, 3},
        // A run under way when the time is over ends as usual; none starts after it.
        {"a long last run", plan(0, 1000, 400), {100, {{3, 5000}}, {}, 0, 0}, RepeatEnd::Duration, 3},
    };
    for (const Case& c : cases) {
        ManualWaiter waiter;
        const Outcome out = runScript(c.plan, c.script, waiter);
        EXPECT_EQ(out.end, c.end) << c.name;
        EXPECT_EQ(out.starts.size(), c.runs) << c.name;
    }
}

TEST(RepeatSchedule, StartsRunsAPeriodApartAndCountsALongOneLate)
{
    ManualWaiter waiter;
    const Outcome out = runScript(plan(6, 0, 500), {100, {{3, 1200}}, {}, 0, 0}, waiter);
    // Run 3 (from 1000) ends at 2200, after run 4's place at 1500: run 4 goes at once, and the
    // rest follow from there, without a burst to catch up.
    EXPECT_EQ(out.starts, (std::vector<int64_t>{0, 500, 1000, 2200, 2700, 3200}));
    EXPECT_EQ(out.late, 1);
    EXPECT_EQ(waiter.waits, (std::vector<int>{400, 400, 400, 400}));
}

TEST(RepeatSchedule, KeepsThePlannedStartsWhenWaitsEndLate)
{
    // Every wait ends 7 ms late: the starts keep their places rather than drifting by 7 ms
    // a run.
    struct LateWaiter : ManualWaiter {
        void wait(int ms) override { ManualWaiter::wait(ms + 7); }
    } waiter;
    const Outcome out = runScript(plan(100, 0, 1000), {}, waiter);
    ASSERT_EQ(out.starts.size(), 100u);
    EXPECT_EQ(out.starts.back(), 99 * 1000 + 7);
    EXPECT_EQ(out.late, 0);
}

TEST(RepeatSchedule, WaitsAgainWhenAWaitEndsEarly)
{
    struct EarlyWaiter : ManualWaiter {
        void wait(int ms) override { ManualWaiter::wait(ms > 10 ? ms - 10 : ms); }
    } waiter;
    const Outcome out = runScript(plan(3, 0, 500), {}, waiter);
    EXPECT_EQ(out.starts, (std::vector<int64_t>{0, 500, 1000}));
}

TEST(RepeatSchedule, AStopEndsTheWaitBetweenRunsAtOnce)
{
    ManualWaiter waiter;
    WaiterClock clock(waiter);
    RepeatSchedule schedule(plan(0, 0, 60000), clock);
    waiter.after(1000, [&] { schedule.requestStop(); });
    int runs = 0;
    const RepeatEnd end = schedule.runAll(waiter, [&](int) {
        ++runs;
        return RepeatSchedule::RunResult{};
    });
    EXPECT_EQ(end, RepeatEnd::Stopped);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(waiter.now, 1000); // not the 60 s of the interval
}

TEST(RepeatSchedule, ReportsTheMeanIntervalAchieved)
{
    ManualWaiter waiter;
    WaiterClock clock(waiter);
    RepeatSchedule schedule(plan(5, 0, 0), clock);
    EXPECT_FALSE(schedule.achievedIntervalMs());
    int64_t length = 0;
    schedule.runAll(waiter, [&](int) {
        waiter.now += length += 100; // 100, 200, 300, 400, 500 ms
        return RepeatSchedule::RunResult{};
    });
    // Starts at 0, 100, 300, 600, 1000: 250 ms apart on average.
    ASSERT_TRUE(schedule.achievedIntervalMs());
    EXPECT_DOUBLE_EQ(*schedule.achievedIntervalMs(), 250.0);
    EXPECT_EQ(schedule.elapsedMs(), 1500);
}

TEST(RepeatDuration, ReadsUnitsFromTheLargestDown)
{
    const std::pair<const char*, int64_t> good[] = {
        {"90s", 90000},       {"30m", 1800000},      {"8h", 28800000},
        {"1h30m", 5400000},   {"2d", 172800000},     {"1d2h3m4s", 93784000},
        {"1S", 1000},         {"366d", 366LL * 86400000},
    };
    for (const auto& [text, ms] : good) {
        EXPECT_EQ(parseDuration(text), std::optional<int64_t>(ms)) << text;
        EXPECT_EQ(parseDuration(durationText(ms)), std::optional<int64_t>(ms)) << text;
    }
    for (const char* bad : {"", "90", "s", "0s", "30m1h", "1h1h", "500ms", "1.5h", "-5s", "5 s",
                            "367d", "99999999999999999999h"})
        EXPECT_FALSE(parseDuration(bad)) << bad;
    EXPECT_EQ(durationText(5400000), "1h30m");
    EXPECT_EQ(durationText(500), "500 ms");
}

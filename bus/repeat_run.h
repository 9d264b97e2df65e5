#pragma once
// Repeat runs of one command list (transmission/repeat_schedule.h): each run is one
// transmission, or one to every display of a list in turn (DisplaysRun). As each run ends its
// exchanges are counted into the statistics and runEnded is told, while the recorder still
// holds them (for the reports); the next run starts the recorder afresh, so a run of hours
// needs the memory of one run.
//
// One debug log holds all runs: it is started anew (when the settings ask for that) for the
// first transmission only. A stop lets the exchange under way finish, as the engine's own
// Stop does; stopNow() ends it at once, for an owner that goes away.

#include "packets/run_statistics.h"
#include "platform/steady_clock.h"
#include "transmission/packet_observer.h"
#include "transmission/repeat_schedule.h"
#include "transmission/waiter.h"

#include <QObject>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lmx {

class DisplaysRun;
class ExchangeRecorder;
class TransmissionEngine;

// What the window's Repeat Transmission... asks for.
struct RepeatRequest {
    RepeatPlan plan;
    bool toDisplayList = false; // each run to every display of the display list in turn
};

class RepeatRun : public QObject {
    Q_OBJECT

public:
    struct Target {
        std::vector<std::string> commandLines;
        bool extended = true;
        int netNr = 0;           // the default network number of a single transmission
        std::vector<int> netNrs; // not empty: each run to these displays in turn
    };

    // The engine must tell `recorder` about its packets; `displays` runs on the same engine.
    RepeatRun(TransmissionEngine& engine, DisplaysRun& displays, ExchangeRecorder& recorder,
              const SteadyClock& clock = SystemSteadyClock::instance(), QObject* parent = nullptr);
    ~RepeatRun() override;

    // Where the waits between runs pass; nullptr: a nested event loop on the clock.
    void setWaiter(Waiter* waiter) { m_waiter = waiter ? waiter : &m_ownWaiter; }

    // Runs to the end and says why it ended; nothing (nothing sent) when a transmission or
    // a run is under way already. The statistics are started afresh.
    std::optional<RepeatEnd> run(const RepeatPlan& plan, const Target& target);
    void requestStop();
    void stopNow();

    bool running() const { return m_schedule != nullptr; }
    bool stopping() const { return running() && m_stop; }
    int currentRun() const { return m_current; } // from 1; 0 before the first
    int plannedRuns() const { return m_plan.runs; }
    const RepeatPlan& plan() const { return m_plan; }
    RunStatistics& statistics() { return m_statistics; }
    const RunStatistics& statistics() const { return m_statistics; }
    const RunSummary& lastRun() const { return m_last; }
    // How the last run's transmissions ended (for its reports).
    std::optional<TransmissionEnd> lastRunEnd() const { return m_lastEnd; }
    std::optional<RepeatEnd> end() const { return m_end; }

signals:
    void runStarted(int run);
    // The run has ended and is counted; the recorder still holds its records.
    void runEnded(int run);
    void finished();

private:
    RepeatSchedule::RunResult runOnce(int run, const Target& target);

    TransmissionEngine& m_engine;
    DisplaysRun& m_displays;
    ExchangeRecorder& m_recorder;
    const SteadyClock& m_clock;
    EventLoopWaiter m_ownWaiter;
    Waiter* m_waiter = &m_ownWaiter;
    std::unique_ptr<RepeatSchedule> m_schedule; // while running
    RepeatPlan m_plan;
    RunStatistics m_statistics;
    RunSummary m_last;
    std::optional<TransmissionEnd> m_lastEnd;
    std::optional<RepeatEnd> m_end;
    int m_current = 0;
    bool m_stop = false;
};

} // namespace lmx

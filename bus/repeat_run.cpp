#include "repeat_run.h"

#include "displays_run.h"
#include "packets/exchange_recorder.h"
#include "transmission/transmission_engine.h"

#include <algorithm>

namespace lmx {

namespace {

const char kNotSent[] = "a display block was not sent (empty or longer than 240 bytes)";
const char kAborted[] = "the transmission aborted";

} // namespace

RepeatRun::RepeatRun(TransmissionEngine& engine, DisplaysRun& displays, ExchangeRecorder& recorder,
                     const SteadyClock& clock, QObject* parent)
    : QObject(parent),
      m_engine(engine),
      m_displays(displays),
      m_recorder(recorder),
      m_clock(clock),
      m_ownWaiter(clock)
{
}

RepeatRun::~RepeatRun() = default;

std::optional<RepeatEnd> RepeatRun::run(const RepeatPlan& plan, const Target& target)
{
    if (running() || m_engine.running() || m_displays.running())
        return std::nullopt;
    m_plan = plan;
    m_schedule = std::make_unique<RepeatSchedule>(plan, m_clock);
    m_statistics.reset();
    m_statistics.setSchedule(plan.intervalMs, std::nullopt, 0);
    m_last = RunSummary{};
    m_lastEnd.reset();
    m_end.reset();
    m_current = 0;
    m_stop = false;
    // The debug log is started anew for the first transmission only, and kept for the rest.
    const bool createLog = m_engine.CreateDebugFile();
    const QMetaObject::Connection oneLog =
            connect(&m_engine, &TransmissionEngine::runningChanged, this, [this](bool on) {
                if (!on)
                    m_engine.SetCreateDebugFile(false);
            });
    const RepeatEnd end = m_schedule->runAll(*m_waiter, [&](int run) { return runOnce(run, target); });
    disconnect(oneLog);
    m_engine.SetCreateDebugFile(createLog);
    m_statistics.setSchedule(plan.intervalMs, m_schedule->achievedIntervalMs(),
                             m_schedule->lateRuns());
    m_statistics.setInterrupted(end == RepeatEnd::Stopped);
    m_end = end;
    m_schedule.reset();
    emit finished();
    return end;
}

RepeatSchedule::RunResult RepeatRun::runOnce(int run, const Target& target)
{
    m_current = run;
    emit runStarted(run);
    const int64_t start = m_clock.nowMs();
    bool failed = false;
    bool stopped = false;
    bool nothingSent = false;
    std::string why;
    if (target.netNrs.empty()) {
        const TransmissionEngine::Outcome o =
                target.extended ? m_engine.TransmitExtended(target.commandLines, target.netNr)
                                : m_engine.TransmitNormal(target.commandLines, target.netNr);
        stopped = o.end == TransmissionEngine::End::Stopped;
        failed = o.failedAnswers > 0 || o.unsentBlocks > 0 || o.end == TransmissionEngine::End::Aborted;
        nothingSent = o.end == TransmissionEngine::End::Refused
                   || (o.end == TransmissionEngine::End::Aborted && o.packetsSent == 0);
        why = o.unsentBlocks > 0 ? kNotSent : kAborted;
        m_lastEnd = m_recorder.end();
    } else {
        m_displays.run(target.commandLines, target.netNrs, target.extended);
        stopped = m_displays.end() == TransmissionEnd::Stopped;
        for (const DisplaysRun::Display& d : m_displays.displays()) {
            if (d.result != DisplaysRun::Result::Failed)
                continue;
            if (!failed)
                why = "NetNr " + std::to_string(d.netNr) + ": " + d.why;
            failed = true;
        }
        nothingSent = m_displays.end() == TransmissionEnd::Aborted && m_recorder.records().empty();
        m_lastEnd = m_displays.end();
    }
    m_last = summarizeRun(m_recorder.records(), failed, stopped, why, m_clock.nowMs() - start);
    for (const ExchangeRecord& rec : m_recorder.records())
        m_statistics.addExchange(rec, run);
    m_statistics.addRun(m_last);
    m_statistics.setSchedule(m_plan.intervalMs, m_schedule->achievedIntervalMs(),
                             m_schedule->lateRuns());
    emit runEnded(run);
    return {m_last.failedRun, nothingSent};
}

void RepeatRun::requestStop()
{
    if (!running())
        return;
    m_stop = true;
    m_schedule->requestStop();
    // Never inside an exchange: the one under way is answered or times out first.
    if (m_displays.running())
        m_displays.requestStop();
    else if (m_engine.running())
        m_engine.requestStopAfterExchange();
}

void RepeatRun::stopNow()
{
    if (!running())
        return;
    requestStop();
    m_displays.requestStop();
    m_engine.requestStop();
}

} // namespace lmx

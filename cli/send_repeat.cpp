#include "send_repeat.h"

#include "cli_options.h"
#include "cli_support.h"

#include "packets/capture_file.h"
#include "packets/exchange_recorder.h"
#include "packets/repeat_reports.h"
#include "transmission/transmission_plan.h"

#include <filesystem>

namespace {

using cli::writeLine;

// The JUnit file's "end": how the runs as a whole ended.
const char* endProperty(std::optional<lmx::RepeatEnd> end)
{
    if (!end || *end == lmx::RepeatEnd::Stopped)
        return "stopped";
    if (*end == lmx::RepeatEnd::Failures || *end == lmx::RepeatEnd::NothingSent)
        return "aborted";
    return "completed";
}

class Outputs {
public:
    explicit Outputs(const SendOptions& options) : m_options(options) {}

    bool open()
    {
        return !m_options.report || tell(m_report.open(*m_options.report));
    }
    void addRun(const lmx::ExchangeReport& report, int run)
    {
        if (m_report.isOpen() && !m_report.append(lmx::jsonRecords(report, run)))
            tell(m_report.failure()); // at once: a run of hours should not go on unreported
        if (m_options.junit)
            m_tally.addRun(report, run);
    }
    // Ends the files; false when one could not be written.
    bool close(const lmx::RunStatistics& statistics, lmx::CaptureFile& capture,
               std::optional<lmx::RepeatEnd> end)
    {
        tell(capture.close());
        if (m_report.isOpen()) {
            m_report.append(lmx::statisticsJson(statistics));
            if (m_report.failure().ok)
                tell(m_report.close());
            else
                m_report.close(); // told when it happened
        }
        if (m_options.junit)
            tell(lmx::writeReportFile(
                    *m_options.junit,
                    m_tally.junit(std::filesystem::path(m_options.file).filename().string(),
                                  endProperty(end))));
        return m_written;
    }

private:
    bool tell(const lmx::WriteResult& result)
    {
        if (result.ok)
            return true;
        writeLine(stderr, "lmx send: " + result.message);
        if (!result.detail.empty())
            writeLine(stderr, result.detail);
        m_written = false;
        return false;
    }

    const SendOptions& m_options;
    lmx::ReportStream m_report;
    lmx::BlockTally m_tally;
    bool m_written = true;
};

} // namespace

int sendRepeatedly(const RepeatSend& send, const int& interrupts)
{
    Outputs outputs(send.options);
    if (!outputs.open())
        return 2;
    const lmx::RepeatPlan plan = send.options.repeatPlan();
    lmx::RepeatRun& repeat = send.repeat;
    QObject::connect(&repeat, &lmx::RepeatRun::runEnded, &repeat, [&](int run) {
        writeLine(stdout, lmx::runLine(run, plan.runs, repeat.lastRun()));
        outputs.addRun({send.recorder.records(), send.recorder.plan(), repeat.lastRunEnd()}, run);
    });

    std::optional<lmx::RepeatEnd> end;
    if (cli::InterruptPipe::interrupted()) {
        // Stopped before the first run: the JUnit file still lists every block, unreached.
        const std::vector<int> netNrs =
                send.target.netNrs.empty() ? std::vector<int>{send.target.netNr} : send.target.netNrs;
        for (const int n : netNrs) {
            send.recorder.begin(lmx::planTransmission({send.target.commandLines, send.target.extended,
                                                       n, send.packetSize}),
                                send.target.extended, true);
            send.recorder.transmissionEnded(lmx::TransmissionEnd::Stopped);
        }
        outputs.addRun({send.recorder.records(), send.recorder.plan(), send.recorder.end()}, 0);
        repeat.statistics().setInterrupted(true);
    } else {
        end = repeat.run(plan, send.target);
    }

    const lmx::RunStatistics& statistics = repeat.statistics();
    for (const std::string& line : lmx::statisticsTable(statistics))
        writeLine(stdout, line);
    if (end == lmx::RepeatEnd::NothingSent)
        writeLine(stderr, "lmx send: the runs ended: " + std::string(lmx::repeatEndText(*end)));
    const bool written = outputs.close(statistics, send.capture, end);
    if (interrupts > 1) // ended at once
        std::fputs("lmx send: interrupted\n", stderr);
    if (!written)
        return 2;
    const bool passed = statistics.runs() > 0 && statistics.failedRuns() == 0
                     && !statistics.interrupted() && statistics.stoppedRuns() == 0;
    return passed ? 0 : 1;
}

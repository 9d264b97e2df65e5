#include "displays_run.h"

#include "transmission/packet_exchange.h"
#include "transmission/transmission_engine.h"

#include <algorithm>

namespace lmx {

DisplaysRun::DisplaysRun(TransmissionEngine& engine, PacketExchange& exchange,
                         ExchangeRecorder& recorder, QObject* parent)
    : QObject(parent), m_engine(engine), m_exchange(exchange), m_recorder(recorder)
{
}

DisplaysRun::~DisplaysRun() = default;

bool DisplaysRun::run(const std::vector<std::string>& commandLines, const std::vector<int>& netNrs,
                      bool extended)
{
    if (m_running || m_engine.running())
        return false;
    m_running = true;
    m_stop = false;
    m_end = TransmissionEnd::Completed;
    m_displays.clear();
    m_plannedPackets = 0;
    const size_t packetSize = extended ? static_cast<size_t>(m_engine.PacketSize())
                                       : TransmissionEngine::kMaxNormalBlock;
    std::vector<TransmissionPlan> plans;
    for (const int n : netNrs) {
        m_displays.emplace_back();
        m_displays.back().netNr = n;
        plans.push_back(planTransmission({commandLines, extended, n, packetSize}));
        m_plannedPackets += static_cast<int>(plans.back().packets.size());
    }
    m_recorder.clear();
    m_recorder.setAppend(true);

    size_t i = 0;
    while (i < m_displays.size() && !m_stop) {
        Display& d = m_displays[i];
        emit displayStarted(static_cast<int>(i));
        const size_t first = m_recorder.records().size();
        const TransmissionEngine::Outcome outcome = extended
                ? m_engine.TransmitExtended(commandLines, d.netNr)
                : m_engine.TransmitNormal(commandLines, d.netNr);
        for (size_t r = first; r < m_recorder.records().size(); ++r) {
            const ExchangeRecord& rec = m_recorder.records()[r];
            ++d.packets;
            if (!rec.ok) {
                ++d.failed;
                d.why = rec.failure;
            }
        }
        if (outcome.end == TransmissionEngine::End::Stopped) {
            d.result = Result::Stopped;
            m_end = TransmissionEnd::Stopped;
        } else if (outcome.allAnswered()) {
            d.result = Result::Ok;
        } else {
            d.result = Result::Failed;
            if (d.why.empty())
                d.why = outcome.unsentBlocks > 0
                        ? "a display block was not sent (empty or longer than 240 bytes)"
                        : "the transmission aborted";
            if (outcome.end != TransmissionEngine::End::Completed)
                m_end = TransmissionEnd::Aborted;
        }
        emit displayEnded(static_cast<int>(i++));
        if (outcome.end == TransmissionEngine::End::Aborted && outcome.packetsSent == 0)
            break;
    }

    for (; i < m_displays.size(); ++i) {
        m_recorder.begin(std::move(plans[i]), extended, true);
        m_recorder.transmissionEnded(m_end);
    }
    m_recorder.setAppend(false);
    m_running = false;
    return true;
}

void DisplaysRun::requestStop()
{
    if (!m_running || m_stop)
        return;
    m_stop = true;
    // Never inside an exchange: the one under way is answered or times out first, and the
    // receive box says the transmission stopped.
    if (m_engine.running())
        m_engine.requestStopAfterExchange();
}

bool DisplaysRun::allOk() const
{
    return !m_displays.empty()
        && std::all_of(m_displays.begin(), m_displays.end(),
                       [](const Display& d) { return d.result == Result::Ok; });
}

std::string displayResultText(const DisplaysRun::Display& display)
{
    switch (display.result) {
    case DisplaysRun::Result::Ok: return "OK";
    case DisplaysRun::Result::Failed: return "failed: " + display.why;
    case DisplaysRun::Result::Stopped: return "stopped";
    case DisplaysRun::Result::NotReached: break;
    }
    return "not reached";
}

std::vector<std::string> displaysSummary(const std::vector<DisplaysRun::Display>& displays)
{
    std::vector<std::string> lines;
    int ok = 0;
    for (const DisplaysRun::Display& d : displays) {
        std::string line = "NetNr " + std::to_string(d.netNr) + ": " + displayResultText(d);
        if (d.result != DisplaysRun::Result::NotReached)
            line += " (" + std::to_string(d.packets) + (d.packets == 1 ? " packet" : " packets")
                  + ", " + std::to_string(d.failed) + " failed)";
        lines.push_back(line);
        ok += d.result == DisplaysRun::Result::Ok;
    }
    lines.push_back(std::to_string(ok) + " of " + std::to_string(displays.size()) + " displays OK");
    return lines;
}

} // namespace lmx

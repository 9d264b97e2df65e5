#include "bus_scanner.h"

#include "transmission/packet_exchange.h"

#include <algorithm>

namespace lmx {

BusScanner::BusScanner(PacketExchange& exchange, QObject* parent)
    : QObject(parent), m_exchange(exchange)
{
}

BusScanner::~BusScanner()
{
    if (!m_running)
        return;
    disconnect(m_done);
    m_exchange.Abort();
    finish(End::Stopped, false);
}

std::string BusScanner::setupError(const Setup& setup)
{
    const std::string range = std::to_string(kScanLowest) + ".." + std::to_string(kScanHighest);
    if (setup.from < kScanLowest || setup.from > kScanHighest)
        return "the first network number must be one of " + range;
    if (setup.to < kScanLowest || setup.to > kScanHighest)
        return "the last network number must be one of " + range;
    if (setup.from > setup.to)
        return "the first network number is above the last";
    if (setup.timeoutMs < kScanMinTimeoutMs || setup.timeoutMs > kScanMaxTimeoutMs)
        return "the time-out must be " + std::to_string(kScanMinTimeoutMs) + ".."
             + std::to_string(kScanMaxTimeoutMs) + " ms";
    return {};
}

bool BusScanner::start(const Setup& setup)
{
    if (m_running || !m_exchange.done() || !setupError(setup).empty())
        return false;
    m_setup = setup;
    m_answers.clear();
    m_next = setup.from;
    m_probed = 0;
    m_stop = false;
    m_running = true;
    m_end = End::Completed;

    m_savedTimeoutMs = m_exchange.AnswerTimeout();
    m_savedExtended = m_exchange.ExtendedLmx();
    m_exchange.SetAnswerTimeout(setup.timeoutMs);
    m_exchange.SetExtendedLmx(setup.extended);
    m_exchange.SetAnswerHandler([this](const std::string& a) { answerReceived(a); });
    m_exchange.KeepPortOpen(true);
    m_done = connect(&m_exchange, &PacketExchange::finished, this, &BusScanner::probeDone);
    m_recorder.begin(scanPlan(setup.from, setup.to, setup.extended), setup.extended);
    probeNext();
    return true;
}

void BusScanner::requestStop(bool now)
{
    m_stop = m_running;
    if (m_stop && now)
        m_exchange.Abort(); // its finished signal ends the scan
}

int BusScanner::displaysAnswered() const
{
    return static_cast<int>(
            std::count_if(m_answers.begin(), m_answers.end(), [](const ScanAnswer& a) { return a.display; }));
}

void BusScanner::probeNext()
{
    if (m_stop || m_next > m_setup.to) {
        finish(m_stop ? End::Stopped : End::Completed);
        return;
    }
    const std::string packet = probePacket(m_next, m_setup.extended);
    if (!m_exchange.SendPacket(packet)) {
        finish(End::PortFailed);
        return;
    }
    m_recorder.packetWritten(packet, m_next, 0);
    emit probing(m_next, m_probed);
}

void BusScanner::answerReceived(const std::string& answer)
{
    m_recorder.answerReceived(answer);
    if (m_recorder.records().empty())
        return;
    if (std::optional<ScanAnswer> a = scanAnswerOf(m_recorder.records().back())) {
        m_answers.push_back(std::move(*a));
        emit answered(static_cast<int>(m_answers.size()) - 1);
    }
}

void BusScanner::probeDone()
{
    if (!m_running)
        return;
    ++m_probed;
    ++m_next;
    if (m_exchange.portFailed())
        finish(End::PortFailed);
    else
        probeNext();
}

void BusScanner::finish(End end, bool notify)
{
    disconnect(m_done);
    m_exchange.SetAnswerHandler({});
    m_exchange.SetAnswerTimeout(m_savedTimeoutMs);
    m_exchange.SetExtendedLmx(m_savedExtended);
    m_exchange.KeepPortOpen(false);
    m_recorder.transmissionEnded(end == End::Completed ? TransmissionEnd::Completed
                                 : end == End::Stopped ? TransmissionEnd::Stopped
                                                       : TransmissionEnd::Aborted);
    m_running = false;
    m_end = end;
    if (notify)
        emit finished();
}

} // namespace lmx

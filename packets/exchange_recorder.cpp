#include "exchange_recorder.h"

#include "transmission/packet_exchange.h"

#include <algorithm>
#include <chrono>

namespace lmx {

namespace {

int64_t systemTimeUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
}

} // namespace

ExchangeRecorder::ExchangeRecorder(QObject* parent) : QObject(parent) {}

void ExchangeRecorder::clear()
{
    m_records.clear();
    m_plan = TransmissionPlan{};
    m_progress = Progress{};
    m_nextPlanned = 0;
    m_unplannedBlock.reset();
    m_retryBlock.reset();
    m_retries = 0;
    m_end.reset();
    emit cleared();
}

void ExchangeRecorder::begin(TransmissionPlan plan, bool extended, bool append)
{
    // A run that appends starts afresh only when nothing of it is there yet: transmissions
    // that sent nothing (a port that did not open) still leave their plans.
    if (!append || (m_records.empty() && m_plan.packets.empty())) {
        clear();
        m_clock.start();
        // Times within a run come from the steady clock, so they keep their order and
        // distances if the system time is set meanwhile.
        m_clockStartUs = systemTimeUs();
    }
    // Appended plans are counted on from where the records stand.
    const size_t blockBase = m_plan.blocks.size();
    m_nextPlanned = m_plan.packets.size();
    for (PlannedPacket& p : plan.packets) {
        p.block += blockBase;
        m_plan.packets.push_back(std::move(p));
    }
    for (PlannedBlock& b : plan.blocks) {
        b.number = 1 + static_cast<int>(std::count_if(
                m_plan.blocks.begin(), m_plan.blocks.end(),
                [&](const PlannedBlock& x) { return x.netNr == b.netNr; }));
        m_plan.blocks.push_back(b);
    }
    m_unplannedBlock.reset();
    m_extended = extended;
    m_running = true;
    m_awaiting = false;
    m_end.reset();
    m_progress.planned = static_cast<int>(m_plan.packets.size());
    m_progress.packet = static_cast<int>(m_nextPlanned);
    emit started();
}

void ExchangeRecorder::transmissionStarted(const TransmissionStart& start)
{
    begin(planTransmission(start), start.extended, m_append);
}

size_t ExchangeRecorder::blockFor(int netNr)
{
    // A packet the plan did not foresee: blocks of its own, one per run of such packets to
    // the same display.
    if (!m_unplannedBlock || m_plan.blocks[*m_unplannedBlock].netNr != netNr) {
        PlannedBlock b;
        b.netNr = netNr;
        b.number = 1 + static_cast<int>(std::count_if(
                m_plan.blocks.begin(), m_plan.blocks.end(),
                [&](const PlannedBlock& x) { return x.netNr == netNr; }));
        m_plan.blocks.push_back(b);
        m_unplannedBlock = m_plan.blocks.size() - 1;
    }
    ++m_plan.blocks[*m_unplannedBlock].packets;
    return *m_unplannedBlock;
}

void ExchangeRecorder::packetWritten(const std::string& packet, int netNr, uint8_t packetNr)
{
    if (!m_running)
        return;
    ExchangeRecord rec;
    rec.index = static_cast<int>(m_records.size());
    rec.startedMs = m_clock.elapsed();
    rec.extended = m_extended;
    rec.netNr = netNr;
    rec.packetNr = packetNr;
    rec.sent = packet;

    // After a failed answer the engine leaves the rest of a block unsent: the packet is the
    // next one of the plan with these bytes.
    const auto planned = std::find_if(
            m_plan.packets.begin() + static_cast<std::ptrdiff_t>(m_nextPlanned),
            m_plan.packets.end(), [&](const PlannedPacket& p) { return p.packet == packet; });
    if (planned != m_plan.packets.end()) {
        rec.block = static_cast<int>(planned->block);
        rec.lines = planned->lines;
        rec.dataLength = planned->dataLength;
        m_nextPlanned = static_cast<size_t>(planned - m_plan.packets.begin()) + 1;
        m_progress.packet = static_cast<int>(m_nextPlanned);
        m_unplannedBlock.reset();
    } else {
        rec.block = static_cast<int>(blockFor(netNr));
        // Extended packets hold 15 bytes around their data, normal ones 4.
        rec.dataLength = packet.size() - std::min(packet.size(), size_t(m_extended ? 15 : 4));
        m_progress.packet = std::max(m_progress.packet + 1, rec.index + 1);
    }
    m_progress.planned = std::max(m_progress.planned, m_progress.packet);
    if (m_retryBlock == rec.block)
        rec.retry = m_retries;
    m_records.push_back(std::move(rec));
    m_awaiting = true;
    m_writtenNs = m_clock.nsecsElapsed();
    m_records.back().writtenUs = m_clockStartUs + m_writtenNs / 1000;
    emit packetStarted(static_cast<int>(m_records.size()) - 1);
}

double ExchangeRecorder::msSinceWritten() const
{
    return static_cast<double>(m_clock.nsecsElapsed() - m_writtenNs) / 1e6;
}

void ExchangeRecorder::answerBegan()
{
    if (m_running && m_awaiting && !m_records.empty() && !m_records.back().answerUs)
        m_records.back().answerUs = m_clockStartUs + m_clock.nsecsElapsed() / 1000;
}

void ExchangeRecorder::answerReceived(const std::string& answer)
{
    const qint64 now = m_clock.nsecsElapsed();
    if (!m_running || !m_awaiting || m_records.empty())
        return;
    m_awaiting = false;
    ExchangeRecord& rec = m_records.back();
    rec.answer = answer;
    // Driven without the engine nobody tells when the answer began: it is dated on arrival.
    if (!answer.empty() && !rec.answerUs)
        rec.answerUs = m_clockStartUs + now / 1000;
    evaluateAnswer(rec);
    rec.spentMs = static_cast<double>(now - m_writtenNs) / 1e6;
    if (std::any_of(answer.begin(), answer.end(),
                    [&](char c) { return PacketExchange::completesAnswer(c, rec.extended); }))
        rec.rttMs = static_cast<double>(now - m_writtenNs) / 1e6;
    if (!rec.ok)
        ++m_progress.failures;
    emit recordChanged(rec.index);
}

void ExchangeRecorder::portLost(const std::string& packet, int netNr, uint8_t packetNr,
                                const std::string& why)
{
    if (!m_running)
        return;
    // Between two exchanges: the packet that could not go out is the lost exchange.
    if (!packet.empty())
        packetWritten(packet, netNr, packetNr);
    if (!m_awaiting || m_records.empty())
        return;
    m_awaiting = false;
    markPortLost(m_records.back(), why);
    m_records.back().spentMs = msSinceWritten();
    ++m_progress.failures;
    emit recordChanged(m_records.back().index);
}

void ExchangeRecorder::lineFailed(const std::string& state, const std::string& detail)
{
    if (!m_running || m_records.empty())
        return;
    ExchangeRecord& rec = m_records.back();
    // Judged already (an echo after its answer) or still awaited (a port lost).
    const bool counted = !m_awaiting && !rec.ok;
    if (m_awaiting)
        rec.spentMs = msSinceWritten();
    m_awaiting = false;
    markLineFailed(rec, state, detail);
    if (!counted)
        ++m_progress.failures;
    emit recordChanged(rec.index);
}

void ExchangeRecorder::blockSentAgain()
{
    if (!m_running || m_records.empty())
        return;
    const int block = m_records.back().block;
    m_retries = m_retryBlock == block ? m_retries + 1 : 1;
    m_retryBlock = block;
    // Its packets are the plan's again, from the block's first one.
    const auto first = std::find_if(m_plan.packets.begin(), m_plan.packets.end(),
                                    [&](const PlannedPacket& p) { return int(p.block) == block; });
    if (first != m_plan.packets.end())
        m_nextPlanned = static_cast<size_t>(first - m_plan.packets.begin());
}

void ExchangeRecorder::transmissionEnded(TransmissionEnd end)
{
    if (!m_running)
        return;
    if (m_awaiting && !m_records.empty()) {
        m_awaiting = false;
        markStopped(m_records.back());
        m_records.back().spentMs = msSinceWritten();
        ++m_progress.failures;
        emit recordChanged(m_records.back().index);
    }
    m_running = false;
    m_end = end;
    emit finished();
}

} // namespace lmx

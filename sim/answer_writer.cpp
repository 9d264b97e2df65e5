#include "answer_writer.h"

#include "protocol/framing.h"
#include "protocol/hex.h"

namespace lmx::sim {

std::string answerPacket(uint8_t netNr, uint8_t invertedNetNr, uint8_t packetNr,
                         uint8_t lengthField, std::string_view data, uint16_t crcXor)
{
    std::string covered = "\x06";
    covered += byteToHex(netNr);
    covered += byteToHex(invertedNetNr);
    covered += byteToHex(packetNr);
    covered += byteToHex(lengthField);
    covered += data;
    const uint16_t crc = crc16(covered) ^ crcXor;
    return "\x01" + covered + toHex(crc, 4) + "\x04";
}

std::string answerData(uint8_t resultCode, std::string_view reply)
{
    return byteToHex(resultCode) + (reply.empty() ? "00" : "01")
           + std::string(reply.substr(0, kMaxReply));
}

char normalResultChar(uint8_t resultCode)
{
    switch (resultCode) {
    case 0x00: return '0';
    case 0x01: return '1';
    case 0x10: return '2';
    case 0x11: return '3';
    case 0x12: return '4';
    case 0x13: return '5';
    case 0x14: return '6';
    case 0x15: return '7';
    case 0x16: return '8';
    case 0x17: return '9';
    case 0x18: return 'A';
    default: return '\0';
    }
}

FaultInjector::FaultInjector(const SimOptions& options)
    : m_kind(options.fault),
      m_code(options.faultCode),
      m_every(options.faultEvery == 0 ? 1 : options.faultEvery),
      m_slowDelayMs(options.slowDelayMs),
      m_splitPauseMs(options.splitPauseMs),
      m_rate(options.faultRate),
      m_random(options.faultSeed)
{
}

bool FaultInjector::hitsNext(Plan& plan, bool normalFraming)
{
    ++m_answers;
    if (m_kind == FaultKind::None)
        return false;
    if (m_rate) {
        // 53 bits of the draw as a fraction in [0, 1): a rate of 1 hits every answer.
        const double draw = static_cast<double>(m_random() >> 11) * 0x1.0p-53;
        if (!(draw < *m_rate))
            return false;
    } else if (m_answers % m_every != 0) {
        return false;
    }
    plan.faulted = true;
    plan.kind = m_kind;
    plan.code = m_code;
    if (m_kind == FaultKind::Cycle) {
        const std::vector<FaultKind>& kinds = cycleKinds(normalFraming);
        plan.kind = kinds[m_cycleHits++ % kinds.size()];
        if (plan.kind == FaultKind::Code)
            plan.code = cycleCodes()[m_cycleCodes++ % cycleCodes().size()];
    }
    return true;
}

FaultInjector::Plan FaultInjector::extended(uint8_t netNr, uint8_t packetNr, std::string_view data)
{
    Plan plan;
    if (!hitsNext(plan, false)) {
        plan.writes.push_back({0, answerPacket(netNr, packetNr, data)});
        return plan;
    }
    const std::string valid = answerPacket(netNr, packetNr, data);
    switch (plan.kind) {
    case FaultKind::NoAnswer:
        break;
    case FaultKind::BadCrc:
        plan.writes.push_back({0, answerPacket(netNr, netNr ^ 0xFF, packetNr,
                                               static_cast<uint8_t>(data.size()), data, 0xFFFF)});
        break;
    case FaultKind::WrongNetNr: {
        const uint8_t other = static_cast<uint8_t>(netNr % 255 + 1);
        plan.writes.push_back({0, answerPacket(other, packetNr, data)});
        break;
    }
    case FaultKind::WrongSeq: {
        const uint8_t wrong = static_cast<uint8_t>((packetNr & ~kSequenceMask)
                                                   | ((packetNr + 1) & kSequenceMask));
        plan.writes.push_back({0, answerPacket(netNr, wrong, data)});
        break;
    }
    case FaultKind::BadLength: {
        const std::string_view shortData = data.substr(0, 3);
        plan.writes.push_back({0, answerPacket(netNr, netNr ^ 0xFF, packetNr, 3, shortData)});
        break;
    }
    case FaultKind::Truncated:
        // two of the four CRC characters, no end byte
        plan.writes.push_back({0, valid.substr(0, valid.size() - 3)});
        break;
    case FaultKind::Garbage:
        plan.writes.push_back({0, std::string(kExtendedGarbage)});
        break;
    case FaultKind::Split: {
        const size_t half = valid.size() / 2;
        plan.writes.push_back({0, valid.substr(0, half)});
        plan.writes.push_back({m_splitPauseMs, valid.substr(half)});
        break;
    }
    case FaultKind::Slow:
        plan.writes.push_back({m_slowDelayMs, valid});
        break;
    case FaultKind::Code:
        plan.writes.push_back({0, answerPacket(netNr, packetNr, answerData(plan.code, {}))});
        break;
    case FaultKind::None:
    case FaultKind::Cycle:
        break;
    }
    return plan;
}

FaultInjector::Plan FaultInjector::normal(char resultChar)
{
    Plan plan;
    if (!hitsNext(plan, true)) {
        plan.writes.push_back({0, std::string(1, resultChar)});
        return plan;
    }
    switch (plan.kind) {
    case FaultKind::Garbage:
        plan.writes.push_back({0, std::string(kNormalGarbage)});
        break;
    case FaultKind::Slow:
        plan.writes.push_back({m_slowDelayMs, std::string(1, resultChar)});
        break;
    case FaultKind::Code: {
        const char c = normalResultChar(plan.code);
        plan.writes.push_back({0, std::string(1, c ? c : resultChar)});
        break;
    }
    default: // no answer; the packet faults have no packet to spoil here
        break;
    }
    return plan;
}

} // namespace lmx::sim

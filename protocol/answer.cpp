#include "answer.h"

#include "framing.h"
#include "hex.h"

namespace lmx {

namespace {

// Whether the string still holds a whole field of `n` characters at the 0-based index `at`.
// A field cut short by the end of the string makes the answer incomplete; it is never read
// as a shorter number.
bool fieldComplete(std::string_view s, size_t at, size_t n)
{
    return at + n <= s.size();
}

} // namespace

AnswerParse parseExtendedAnswer(std::string_view received, uint8_t netNr, uint8_t packetNr)
{
    using namespace answer_error;
    const std::string_view s = received.substr(0, kMaxAnswerExamined);
    const size_t len = s.size();

    AnswerParse r;
    uint16_t crc = 0;
    bool accumulate = false;
    size_t dataLength = 0;
    AnswerState state = AnswerState::Sot;

    // i is 1-based, as the walk is described: the character at i is s[i - 1].
    size_t i = 1;
    bool stopNow = false;
    // One two-digit hex field of the header: its value must pass `good`, or the parse fails
    // with `fieldError`; then the walk goes on in state `next`.
    const auto field = [&](auto good, uint8_t fieldError, AnswerState next) {
        long long v = 0;
        if (!fieldComplete(s, i - 1, 2)) {
            stopNow = true;
            return;
        }
        if (!hexToInt(s.substr(i - 1, 2), v)) {
            r.errorCode = InvalidHex;
            stopNow = true;
            return;
        }
        crcStep(static_cast<uint8_t>(s[i - 1]), crc);
        ++i;
        if (good(v))
            state = next;
        else
            r.errorCode = fieldError;
    };

    while (len > 0) {
        const auto c = static_cast<uint8_t>(s[i - 1]);
        if (c == 0x01) { // a start byte anywhere restarts the parse
            state = AnswerState::Sot;
            crc = 0;
            accumulate = false;
            r.data.clear();
        }
        stopNow = false;
        switch (state) {
        case AnswerState::Sot:
            if (c == 0x01)
                state = AnswerState::Ack;
            break;
        case AnswerState::Ack:
            if (c == 0x06) {
                state = AnswerState::NetworkNr;
                accumulate = true;
            } else {
                r.errorCode = InvalidPacket;
            }
            break;
        case AnswerState::NetworkNr:
            field([&](long long v) { return v == netNr; }, WrongNetNr,
                  AnswerState::InvertedNetworkNr);
            break;
        case AnswerState::InvertedNetworkNr:
            field([&](long long v) { return v == (netNr ^ 0xFF); }, WrongNetNr,
                  AnswerState::PacketNr);
            break;
        case AnswerState::PacketNr:
            field([&](long long v) { return (v & kSequenceMask) == (packetNr & kSequenceMask); },
                  InvalidSequence, AnswerState::DataLength);
            break;
        case AnswerState::DataLength:
            field([&](long long v) {
                dataLength = static_cast<size_t>(v);
                return v >= 4 && v <= 200;
            }, InvalidSize, AnswerState::Data);
            break;
        case AnswerState::Data:
            if (c == 0x04) {
                r.errorCode = InvalidPacket;
                stopNow = true;
                break;
            }
            r.data += static_cast<char>(c);
            if (r.data.size() == dataLength)
                state = AnswerState::Crc;
            break;
        case AnswerState::Crc: {
            accumulate = false;
            long long v = 0;
            if (!fieldComplete(s, i - 1, 4)) {
                stopNow = true;
                break;
            }
            if (!hexToInt(s.substr(i - 1, 4), v)) {
                r.errorCode = InvalidHex;
                stopNow = true;
                break;
            }
            i += 3;
            if (v == crc)
                state = AnswerState::Eot;
            else
                r.errorCode = InvalidCrc;
            break;
        }
        case AnswerState::Eot:
            if (c == 0x04) {
                state = AnswerState::Ready;
            } else {
                r.errorCode = InvalidPacket;
                stopNow = true;
            }
            break;
        case AnswerState::Ready:  // the loop ends on reaching it
        case AnswerState::Answer: // states of the answer data, not of the packet
        case AnswerState::Param:
            break;
        }
        if (stopNow || i >= len || r.errorCode != 0 || state == AnswerState::Ready)
            break;
        if (accumulate)
            crcStep(static_cast<uint8_t>(s[i - 1]), crc);
        ++i;
    }

    if (r.errorCode == 0 && state != AnswerState::Ready)
        r.errorCode = Incomplete;
    if (r.errorCode != 0 && received.size() >= kMaxAnswerBytes)
        r.errorCode = TooLong;
    r.state = state;
    r.ok = state == AnswerState::Ready && r.errorCode == 0;
    return r;
}

AnswerParse parseAnswerData(std::string_view data)
{
    using namespace answer_error;
    AnswerParse r;
    r.state = AnswerState::Answer;
    if (data.size() < 4) {
        r.errorCode = InvalidSize;
        return r;
    }
    r.paramText = "$" + std::string(data.substr(2, 2));
    uint8_t result = 0;
    if (!hexToByte(data.substr(0, 2), result)) {
        r.errorCode = InvalidHex;
        return r;
    }
    r.state = AnswerState::Param;
    r.errorCode = result;
    if (result != 0) {
        r.ok = true;
        return r;
    }
    uint8_t param = 0;
    if (!hexToByte(data.substr(2, 2), param)) {
        r.errorCode = InvalidHex;
        return r;
    }
    if (param > 1) {
        r.errorCode = UnknownAckParam;
        return r;
    }
    r.ok = true;
    return r;
}

std::string resultText(unsigned code)
{
    switch (code) {
    case 0x00: return "OK";
    case 0x01: return "Time out";
    case 0x02: return "Invalid control/hex char";
    case 0x03: return "CRC error";
    case 0x04: return "Length error";
    case 0x05: return "Packet nr error";
    case 0x10: return "Invalid control code";
    case 0x11: return "Invalid hex/dec char";
    case 0x12: return "Invalid msg/pag/lin nr";
    case 0x13: return "Invalid command";
    case 0x14: return "Invalid text char";
    case 0x15: return "Param value out of range";
    case 0x16: return "Memory full error";
    case 0x17: return "General format error";
    case 0x18: return "Multiple errors";
    case 0x20: return "Invalid answer packet";
    case 0x21: return "Answer has wrong netnr";
    case 0x22: return "Invalid answer sequence";
    case 0x23: return "Invalid answer packet size";
    case 0x24: return "Invalid char in answer";
    case 0x25: return "Invalid answer CRC";
    case 0x26: return "Answer packet incomplete";
    case 0x27: return "Invalid hex val in answer";
    case 0x28: return "Unknown ACK Param";
    case 0x29: return "Answer too long";
    default: return "Unknown Result Code";
    }
}

std::string stateName(AnswerState state)
{
    switch (state) {
    case AnswerState::Sot: return "SOT";
    case AnswerState::Ack: return "ACK";
    case AnswerState::NetworkNr: return "Network Nr";
    case AnswerState::InvertedNetworkNr: return "Inverted Network Nr";
    case AnswerState::PacketNr: return "Packet Nr";
    case AnswerState::DataLength: return "Data Length";
    case AnswerState::Data: return "Data";
    case AnswerState::Crc: return "CRC";
    case AnswerState::Eot: return "EOT";
    case AnswerState::Ready: return "Ready";
    case AnswerState::Answer: return "Answer";
    case AnswerState::Param: return "Param";
    }
    return "";
}

NormalAnswer parseNormalAnswer(std::string_view received, uint8_t netNr)
{
    NormalAnswer r;
    if (received.empty()) {
        r.resultChar = netNr == 0 ? '/' : '.';
        r.ok = netNr == 0;
        return r;
    }
    r.resultChar = received[0];
    r.ok = true;
    return r;
}

std::string normalResultText(char c)
{
    switch (c) {
    case '.': return "No Answer received. NetNr ?";
    case '/': return "No Answer received. Transmission done via NetNr 0. (RS485)";
    case '0': return "OK.";
    case '1': return "Time out.";
    case '2': return "Invalid/unexpected control code.";
    case '3': return "Invalid hex or decimal character.";
    case '4': return "Invalid message/page/line number.";
    case '5': return "Invalid command.";
    case '6': return "Invalid text command.";
    case '7': return "Parameter value out of range.";
    case '8': return "Insufficient memory error.";
    case '9': return "General format error.";
    case 'A': return "Other error, multiple errors.";
    default:
        if (c >= 0x3A && c <= 0x40)
            return "";
        return "Unknown Result Code";
    }
}

} // namespace lmx

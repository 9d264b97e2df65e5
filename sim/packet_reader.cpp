#include "packet_reader.h"

#include "protocol/framing.h"
#include "protocol/hex.h"

namespace lmx::sim {

namespace {

constexpr uint8_t kStart = 0x01;
constexpr uint8_t kEnd = 0x04;
constexpr uint8_t kPacketType = 0x05;
constexpr size_t kHeaderSize = 8;
constexpr size_t kCrcSize = 4;
constexpr size_t kMaxNoiseKept = 64;
constexpr size_t kMaxNormalRaw = kMaxPacketData + 16;

// Header fields go out as upper-case hex; a display takes nothing else.
bool readUpperHexByte(std::string_view two, uint8_t& value)
{
    for (char c : two)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    return hexToByte(two, value);
}

bool readUpperHexWord(std::string_view four, uint16_t& value)
{
    for (char c : four)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    return hexToWord(four, value);
}

} // namespace

PacketReader::PacketReader(bool normalFraming, unsigned dropAfterMs)
    : m_normal(normalFraming), m_dropAfterMs(dropAfterMs)
{
}

std::vector<Frame> PacketReader::feed(std::string_view bytes, int64_t nowMs)
{
    std::vector<Frame> out = expire(nowMs);
    for (char c : bytes)
        takeByte(static_cast<uint8_t>(c), out);
    if (!bytes.empty())
        m_lastByteMs = nowMs;
    return out;
}

std::vector<Frame> PacketReader::expire(int64_t nowMs)
{
    std::vector<Frame> out;
    const int64_t due = deadline();
    if (due < 0 || nowMs < due)
        return out;
    switch (m_state) {
    case State::Data:
    case State::Crc:
    case State::End:
    case State::NormalData:
        // The header was sound, so the sender can be told that its packet stopped short.
        m_frame.raw = m_raw;
        m_frame.framingCode = framing_code::TimeOut;
        out.push_back(std::move(m_frame));
        m_frame = Frame();
        m_raw.clear();
        m_state = State::Idle;
        break;
    case State::Idle:
        break;
    default:
        drop("incomplete packet", out);
        break;
    }
    flushNoise(out);
    return out;
}

int64_t PacketReader::deadline() const
{
    if (m_state == State::Idle && m_noiseCount == 0)
        return -1;
    return m_lastByteMs + m_dropAfterMs;
}

void PacketReader::takeByte(uint8_t c, std::vector<Frame>& out)
{
    switch (m_state) {
    case State::Idle:
        if (c == kStart) {
            startPacket(out);
        } else {
            if (m_noise.size() < kMaxNoiseKept)
                m_noise += static_cast<char>(c);
            ++m_noiseCount;
        }
        return;
    case State::Type:
        if (c == kStart) {
            drop("no packet type", out);
            startPacket(out);
            return;
        }
        m_raw += static_cast<char>(c);
        if (c == kPacketType)
            m_state = State::Header;
        else
            drop("packet type " + byteToHex(c), out);
        return;
    case State::Header:
    case State::NormalNet:
        // Header characters are hex digits: a start byte here means the packet was cut off
        // and a new one begins.
        if (c == kStart) {
            drop("incomplete header", out);
            startPacket(out);
            return;
        }
        m_raw += static_cast<char>(c);
        m_field += static_cast<char>(c);
        if (m_state == State::Header && m_field.size() == kHeaderSize)
            headerComplete(out);
        else if (m_state == State::NormalNet && m_field.size() == 2)
            headerComplete(out);
        return;
    case State::Data:
        m_raw += static_cast<char>(c);
        m_frame.data += static_cast<char>(c);
        if (m_frame.data.size() == m_dataLength)
            m_state = State::Crc;
        return;
    case State::Crc:
        m_raw += static_cast<char>(c);
        m_field += static_cast<char>(c);
        if (m_field.size() == kCrcSize)
            m_state = State::End;
        return;
    case State::End:
        packetComplete(c, out);
        return;
    case State::NormalData:
        if (c == kEnd) {
            packetComplete(c, out);
            return;
        }
        if (m_raw.size() < kMaxNormalRaw)
            m_raw += static_cast<char>(c);
        if (m_frame.data.size() < kMaxPacketData)
            m_frame.data += static_cast<char>(c);
        else
            m_lengthTooLong = true;
        return;
    }
}

void PacketReader::startPacket(std::vector<Frame>& out)
{
    flushNoise(out);
    m_raw.assign(1, static_cast<char>(kStart));
    m_field.clear();
    m_frame = Frame();
    m_dataLength = 0;
    m_lengthTooLong = false;
    m_state = m_normal ? State::NormalNet : State::Type;
}

void PacketReader::headerComplete(std::vector<Frame>& out)
{
    uint8_t netNr = 0;
    if (!readUpperHexByte(std::string_view(m_field).substr(0, 2), netNr)) {
        drop("network number not hex", out);
        return;
    }
    m_frame.netNr = netNr;
    if (m_normal) {
        m_field.clear();
        m_state = State::NormalData;
        return;
    }
    uint8_t inverted = 0;
    if (!readUpperHexByte(std::string_view(m_field).substr(2, 2), inverted)
        || inverted != (netNr ^ 0xFF)) {
        // Without a trustworthy address no display may answer.
        drop("inverted network number does not match", out);
        return;
    }
    uint8_t packetNr = 0;
    uint8_t length = 0;
    const bool packetNrOk = readUpperHexByte(std::string_view(m_field).substr(4, 2), packetNr);
    const bool lengthOk = readUpperHexByte(std::string_view(m_field).substr(6, 2), length);
    if (packetNrOk)
        m_frame.packetNr = packetNr;
    if (!packetNrOk || !lengthOk) {
        // Without a length the end of the packet cannot be found: answer now and wait for
        // the next start byte.
        m_frame.raw = m_raw;
        m_frame.framingCode = framing_code::InvalidHex;
        out.push_back(std::move(m_frame));
        m_frame = Frame();
        m_raw.clear();
        m_state = State::Idle;
        return;
    }
    m_dataLength = length;
    m_lengthTooLong = length > kMaxPacketData;
    m_state = length == 0 ? State::Crc : State::Data;
    m_frame.data.reserve(length);
    m_crcCovered = "\x05" + m_field;
    m_field.clear();
}

void PacketReader::packetComplete(uint8_t endByte, std::vector<Frame>& out)
{
    const bool restart = endByte == kStart && !m_normal;
    if (!restart)
        m_raw += static_cast<char>(endByte);
    m_frame.raw = m_raw;
    if (m_normal) {
        m_frame.framingCode = m_lengthTooLong ? framing_code::LengthError : framing_code::Ok;
    } else if (endByte != kEnd || m_lengthTooLong) {
        m_frame.framingCode = framing_code::LengthError;
    } else {
        uint16_t crc = 0;
        if (!readUpperHexWord(m_field, crc))
            m_frame.framingCode = framing_code::InvalidHex;
        else if (crc != crc16(m_frame.data, crc16(m_crcCovered)))
            m_frame.framingCode = framing_code::CrcError;
    }
    out.push_back(std::move(m_frame));
    m_frame = Frame();
    m_raw.clear();
    m_field.clear();
    m_state = State::Idle;
    if (restart)
        startPacket(out);
}

void PacketReader::flushNoise(std::vector<Frame>& out)
{
    if (m_noiseCount == 0)
        return;
    Frame f;
    f.kind = Frame::Kind::Dropped;
    f.raw = m_noise;
    f.reason = m_noiseCount > m_noise.size()
                   ? "noise, " + std::to_string(m_noiseCount) + " bytes"
                   : "noise";
    out.push_back(std::move(f));
    m_noise.clear();
    m_noiseCount = 0;
}

void PacketReader::drop(const std::string& reason, std::vector<Frame>& out)
{
    Frame f;
    f.kind = Frame::Kind::Dropped;
    f.raw = m_raw;
    f.reason = reason;
    out.push_back(std::move(f));
    m_frame = Frame();
    m_raw.clear();
    m_field.clear();
    m_state = State::Idle;
}

} // namespace lmx::sim

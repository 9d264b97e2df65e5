#pragma once
// Cuts the byte stream a display receives into packets. The extended framing is read by its
// length field, so the data may hold any byte value, 0x01 and 0x04 included; the normal
// framing has no length and ends at the first 0x04.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lmx::sim {

// Display result codes for faults of the packet itself.
namespace framing_code {
constexpr uint8_t Ok = 0x00;
constexpr uint8_t TimeOut = 0x01;     // the packet stopped arriving after a complete header
constexpr uint8_t InvalidHex = 0x02;  // packet number, length or CRC field is not hex
constexpr uint8_t CrcError = 0x03;
constexpr uint8_t LengthError = 0x04; // no end byte where the length field puts it
} // namespace framing_code

// The most data bytes one packet may carry; the client cuts at most 240.
constexpr size_t kMaxPacketData = 240;

struct Frame {
    enum class Kind {
        Packet,  // a packet with a readable address; framingCode says whether it is sound
        Dropped, // bytes that do not make a packet anyone can be answered for
    };
    Kind kind = Kind::Packet;
    std::string raw;           // every byte of it as received
    uint8_t netNr = 0;
    int packetNr = -1;         // -1: unknown, or the normal framing
    std::string data;
    uint8_t framingCode = framing_code::Ok;
    std::string reason;        // Dropped: why, in a few words
};

class PacketReader {
public:
    explicit PacketReader(bool normalFraming, unsigned dropAfterMs = 300);

    // Takes received bytes at the steady time nowMs (ms) and returns what they completed.
    std::vector<Frame> feed(std::string_view bytes, int64_t nowMs);
    // Gives up an incomplete packet after dropAfterMs of silence.
    std::vector<Frame> expire(int64_t nowMs);
    // When expire() has something to do; -1 while nothing is pending.
    int64_t deadline() const;

private:
    enum class State { Idle, Type, Header, Data, Crc, End, NormalNet, NormalData };

    void takeByte(uint8_t c, std::vector<Frame>& out);
    void startPacket(std::vector<Frame>& out);
    void headerComplete(std::vector<Frame>& out);
    void packetComplete(uint8_t endByte, std::vector<Frame>& out);
    void flushNoise(std::vector<Frame>& out);
    void drop(const std::string& reason, std::vector<Frame>& out);

    const bool m_normal;
    const unsigned m_dropAfterMs;
    State m_state = State::Idle;
    std::string m_raw;    // bytes of the packet being read
    std::string m_noise;  // bytes seen while waiting for a start byte
    size_t m_noiseCount = 0;
    std::string m_field;  // header or CRC characters
    std::string m_crcCovered; // packet type and header, the start of what the CRC covers
    Frame m_frame;        // the packet being read
    size_t m_dataLength = 0;
    bool m_lengthTooLong = false;
    int64_t m_lastByteMs = 0;
};

} // namespace lmx::sim

#pragma once
// Packets taken apart for showing: which bytes of a sent packet or of an answer are which
// field, and whether each field holds what belongs there. Unlike the answer parser this never
// stops at the first fault: it goes on with the field widths the framing gives, so a spoilt
// answer still shows where it went wrong and what came after.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lmx {

enum class PacketField : uint8_t {
    Noise,         // bytes before the start byte or after the end byte
    Start,         // 0x01
    Type,          // 0x05 in a packet, 0x06 in an answer
    NetNr,         // two hex digits
    InvertedNetNr, // two hex digits
    PacketNr,      // two hex digits
    Length,        // two hex digits
    Data,          // the data of a packet (with the normal framing: the display block)
    Result,        // answer data: the result code, two hex digits
    Param,         // answer data: the acknowledge parameter, two hex digits
    Reply,         // answer data after the parameter
    Crc,           // four hex digits
    End,           // 0x04
};

struct FieldSpan {
    PacketField field = PacketField::Noise;
    size_t offset = 0;
    size_t size = 0;
    bool good = true; // present in full and holding what belongs there
};

struct DecodedPacket {
    std::vector<FieldSpan> spans; // in byte order, every byte in exactly one span
    int netNr = -1;               // -1 where the field is missing or not hex
    int packetNr = -1;
    int length = -1;
    bool crcGood = false;         // the CRC field is there and matches the covered bytes
    int computedCrc = -1;         // the CRC of the covered bytes, once the CRC's place is known
    bool complete = false;        // every field is there and the end byte closes it

    bool allGood() const;
    const FieldSpan* find(PacketField field) const;
};

// What the fields are checked against. An answer must carry the network number and (on bits
// 0..5) the packet number of the packet it answers, and a data length of 4..200; -1 checks a
// field only for being hex.
struct PacketExpectation {
    char type = 0x05;
    int netNr = -1;
    int packetNr = -1;
    bool answerLength = false;
};
inline PacketExpectation sentPacket() { return {}; }
inline PacketExpectation answerTo(int netNr, int packetNr) { return {0x06, netNr, packetNr, true}; }

// An extended packet or answer. Parsing starts at the first start byte; the data takes the
// length the length field gives (what is left when it is unreadable), and an answer's data
// is split into result code, parameter and reply.
DecodedPacket decodeExtended(std::string_view bytes, const PacketExpectation& expect);
// A normal packet: start byte, the network number as two hex digits, the data, the end byte.
DecodedPacket decodeNormal(std::string_view bytes);

// "start", "type", "netnr", "inverse", "packet", "length", "data", "result", "param",
// "reply", "CRC", "end", "noise".
const char* fieldName(PacketField field);

// Where a packet stands in its series by bits 6 and 7: "only", "first", "middle", "last".
const char* seriesPosition(uint8_t packetNr);
// The packet number as a table shows it: hex, position and sequence, "0x41 · first · 1"
// (Latin-1, the dot is 0xB7).
std::string packetNumberText(uint8_t packetNr);

} // namespace lmx

#include "packet_fields.h"

#include "framing.h"
#include "hex.h"

#include <algorithm>

namespace lmx {

namespace {

constexpr char kStart = 0x01;
constexpr char kEnd = 0x04;

// Walks the bytes field by field; a field cut short by the end of the bytes is the last one.
class FieldWalk {
public:
    FieldWalk(std::string_view bytes, DecodedPacket& out) : m_bytes(bytes), m_out(out) {}

    bool more() const { return !m_stopped; }
    void skip(size_t n) { m_at += std::min(n, left()); }
    size_t at() const { return m_at; }
    size_t left() const { return m_bytes.size() - m_at; }

    // Adds the next `n` bytes as a field; a field that is not there in full is bad and ends
    // the walk (a field with no bytes at all shows as missing).
    FieldSpan& take(PacketField field, size_t n)
    {
        const size_t size = std::min(n, left());
        m_out.spans.push_back({field, m_at, size, size == n});
        m_at += size;
        if (size < n)
            m_stopped = true;
        return m_out.spans.back();
    }
    std::string_view bytesOf(const FieldSpan& span) const
    {
        return m_bytes.substr(span.offset, span.size);
    }
    // Two hex digits; -1 when the field is short or not hex.
    int takeHexByte(PacketField field)
    {
        FieldSpan& span = take(field, 2);
        uint8_t value = 0;
        if (!span.good || !hexToByte(bytesOf(span), value)) {
            span.good = false;
            return -1;
        }
        return value;
    }

private:
    std::string_view m_bytes;
    DecodedPacket& m_out;
    size_t m_at = 0;
    bool m_stopped = false;
};

void addNoise(DecodedPacket& d, size_t offset, size_t size)
{
    if (size > 0)
        d.spans.push_back({PacketField::Noise, offset, size, true});
}

// The answer data shown as its three parts; the parameter must be 0 or 1 when the result
// code reports success.
void splitAnswerData(DecodedPacket& d, size_t dataSpan, std::string_view bytes)
{
    const FieldSpan data = d.spans[dataSpan];
    d.spans.erase(d.spans.begin() + static_cast<std::ptrdiff_t>(dataSpan));
    std::vector<FieldSpan> parts;
    const std::string_view text = bytes.substr(data.offset, data.size);
    uint8_t result = 0;
    uint8_t param = 0;
    const size_t resultSize = std::min<size_t>(2, text.size());
    const bool resultHex = resultSize == 2 && hexToByte(text.substr(0, 2), result);
    parts.push_back({PacketField::Result, data.offset, resultSize, resultHex});
    const size_t paramSize = std::min<size_t>(2, text.size() - resultSize);
    const bool paramHex = paramSize == 2 && hexToByte(text.substr(2, 2), param);
    parts.push_back({PacketField::Param, data.offset + resultSize, paramSize,
                     paramHex && (!resultHex || result != 0 || param <= 1)});
    if (text.size() > 4)
        parts.push_back({PacketField::Reply, data.offset + 4, text.size() - 4, data.good});
    d.spans.insert(d.spans.begin() + static_cast<std::ptrdiff_t>(dataSpan), parts.begin(),
                   parts.end());
}

} // namespace

bool DecodedPacket::allGood() const
{
    if (!complete)
        return false;
    for (const FieldSpan& s : spans)
        if (!s.good)
            return false;
    return true;
}

const FieldSpan* DecodedPacket::find(PacketField field) const
{
    for (const FieldSpan& s : spans)
        if (s.field == field)
            return &s;
    return nullptr;
}

DecodedPacket decodeExtended(std::string_view bytes, const PacketExpectation& expect)
{
    DecodedPacket d;
    const size_t start = bytes.find(kStart);
    if (start == std::string_view::npos) {
        addNoise(d, 0, bytes.size());
        return d;
    }
    addNoise(d, 0, start);
    FieldWalk walk(bytes, d);
    walk.skip(start);
    walk.take(PacketField::Start, 1);

    FieldSpan& type = walk.take(PacketField::Type, 1);
    type.good = type.good && bytes[type.offset] == expect.type;
    if (walk.more()) {
        d.netNr = walk.takeHexByte(PacketField::NetNr);
        if (d.netNr >= 0 && expect.netNr >= 0 && d.netNr != expect.netNr)
            d.spans.back().good = false;
    }
    if (walk.more()) {
        const int inverse = walk.takeHexByte(PacketField::InvertedNetNr);
        const int netNr = expect.netNr >= 0 ? expect.netNr : d.netNr;
        if (inverse >= 0 && netNr >= 0 && inverse != (netNr ^ 0xFF))
            d.spans.back().good = false;
    }
    if (walk.more()) {
        d.packetNr = walk.takeHexByte(PacketField::PacketNr);
        if (d.packetNr >= 0 && expect.packetNr >= 0
            && (d.packetNr & kSequenceMask) != (expect.packetNr & kSequenceMask))
            d.spans.back().good = false;
    }
    if (walk.more()) {
        d.length = walk.takeHexByte(PacketField::Length);
        if (d.length >= 0 && expect.answerLength && (d.length < 4 || d.length > 200))
            d.spans.back().good = false;
    }
    if (!walk.more())
        return d;

    if (d.length < 0) {
        // Without a length the CRC cannot be found: the rest up to an end byte is data.
        const size_t rest = walk.left() - (bytes.back() == kEnd ? 1 : 0);
        if (rest > 0)
            walk.take(PacketField::Data, rest).good = false;
        if (walk.left() == 0)
            return d;
        walk.take(PacketField::End, 1);
        d.complete = true;
        return d;
    }
    const size_t dataSpan = d.spans.size();
    FieldSpan& data = walk.take(PacketField::Data, static_cast<size_t>(d.length));
    // An answer may not hold the end byte in its data; a packet may.
    if (expect.type == 0x06 && walk.bytesOf(data).find(kEnd) != std::string_view::npos)
        data.good = false;
    const bool more = walk.more();
    if (expect.type == 0x06)
        splitAnswerData(d, dataSpan, bytes);
    if (!more)
        return d;

    const size_t crcAt = walk.at();
    FieldSpan& crc = walk.take(PacketField::Crc, 4);
    uint16_t value = 0;
    d.computedCrc = crc16(bytes.substr(start + 1, crcAt - start - 1));
    crc.good = crc.good && hexToWord(walk.bytesOf(crc), value) && value == d.computedCrc;
    d.crcGood = crc.good;
    if (!walk.more())
        return d;
    FieldSpan& end = walk.take(PacketField::End, 1);
    end.good = end.good && bytes[end.offset] == kEnd;
    d.complete = end.good;
    addNoise(d, walk.at(), walk.left());
    return d;
}

DecodedPacket decodeNormal(std::string_view bytes)
{
    DecodedPacket d;
    FieldWalk walk(bytes, d);
    FieldSpan& start = walk.take(PacketField::Start, 1);
    start.good = start.good && bytes[0] == kStart;
    if (walk.more())
        d.netNr = walk.takeHexByte(PacketField::NetNr);
    if (!walk.more())
        return d;
    const bool ended = bytes.back() == kEnd;
    walk.take(PacketField::Data, walk.left() - (ended ? 1 : 0));
    d.length = static_cast<int>(d.spans.back().size);
    if (ended) {
        walk.take(PacketField::End, 1);
        d.complete = true;
    } else {
        walk.take(PacketField::End, 1); // missing
    }
    return d;
}

const char* fieldName(PacketField field)
{
    switch (field) {
    case PacketField::Noise: return "noise";
    case PacketField::Start: return "start";
    case PacketField::Type: return "type";
    case PacketField::NetNr: return "netnr";
    case PacketField::InvertedNetNr: return "inverse";
    case PacketField::PacketNr: return "packet";
    case PacketField::Length: return "length";
    case PacketField::Data: return "data";
    case PacketField::Result: return "result";
    case PacketField::Param: return "param";
    case PacketField::Reply: return "reply";
    case PacketField::Crc: return "CRC";
    case PacketField::End: return "end";
    }
    return "";
}

const char* seriesPosition(uint8_t packetNr)
{
    switch (packetNr & ~kSequenceMask & 0xFF) {
    case kFirstOfSeries: return "first";
    case kMiddleOfSeries: return "middle";
    case kLastOfSeries: return "last";
    default: return "only";
    }
}

std::string packetNumberText(uint8_t packetNr)
{
    return "0x" + byteToHex(packetNr) + " \xB7 " + seriesPosition(packetNr) + " \xB7 "
         + std::to_string(packetNr & kSequenceMask);
}

} // namespace lmx

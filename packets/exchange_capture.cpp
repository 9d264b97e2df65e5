#include "exchange_capture.h"

#include "pcapng.h"
#include "protocol/framing.h"
#include "protocol/hex.h"
#include "protocol/packet_fields.h"

#include <string_view>

namespace lmx {

namespace {

constexpr char kStart = 0x01;
constexpr char kEnd = 0x04;

std::string head(const ExchangeRecord& rec)
{
    std::string text = "NetNr " + std::to_string(rec.netNr);
    if (rec.extended)
        text += " packet " + std::to_string(rec.packetNr & kSequenceMask);
    return text;
}

// The answer's CRC field is four hex digits that do not match its bytes (a field cut short or
// not hex is a fault of another kind).
bool crcMismatch(std::string_view answer, const ExchangeRecord& rec)
{
    const DecodedPacket d = decodeExtended(answer, answerTo(rec.netNr, rec.packetNr));
    const FieldSpan* crc = d.find(PacketField::Crc);
    uint16_t value = 0;
    return crc && crc->size == 4 && hexToWord(answer.substr(crc->offset, 4), value)
        && value != d.computedCrc;
}

struct Cut {
    size_t echo = 0;         // bytes of an echo of the packet, from the first byte
    size_t answerStart = 0;  // the answer lies in [answerStart, answerEnd)
    size_t answerEnd = 0;
    size_t strayStart = 0;   // bytes before the answer that made none: [strayStart, answerStart)
};

// Where the judged answer lies in what came. The extended answer parse starts again at every
// start byte and the exchange ends at the first end byte, so the answer is the last start
// byte up to that end byte; the normal framing's answer is the first byte.
Cut cut(const ExchangeRecord& rec)
{
    const std::string_view got = rec.answer;
    Cut c;
    if (!rec.extended) {
        c.answerEnd = got.empty() ? 0 : 1;
        return c;
    }
    if (!rec.sent.empty() && got.substr(0, rec.sent.size()) == rec.sent)
        c.echo = rec.sent.size();
    const size_t end = got.find(kEnd, c.echo);
    c.answerEnd = end == std::string_view::npos ? got.size() : end + 1;
    c.strayStart = c.echo;
    const std::string_view within = got.substr(c.echo, c.answerEnd - c.echo);
    const size_t start = within.rfind(kStart);
    // Without a start byte there is no answer, only bytes.
    c.answerStart = start == std::string_view::npos ? c.answerEnd : c.echo + start;
    return c;
}

// The verdict without the address.
std::string verdictWords(const ExchangeRecord& rec)
{
    if (!rec.evaluated)
        return "answer awaited";
    if (rec.state == "stopped")
        return rec.failure;
    if (rec.answer.empty())
        return rec.ok ? rec.resultText : "no answer";
    if (!rec.extended)
        return rec.ok ? rec.resultText : "Error: " + rec.resultText;
    if (rec.state != "OK")
        return "Error " + rec.state;
    if (!rec.ok)
        return "Answer: " + rec.resultText + " Param : " + rec.param;
    return "OK";
}

} // namespace

uint32_t CaptureFrame::flags() const
{
    return (kind == Kind::Packet ? pcapng::kOutbound : pcapng::kInbound)
         | (crcError ? pcapng::kCrcError : 0);
}

std::string exchangeVerdict(const ExchangeRecord& rec)
{
    return head(rec) + ": " + verdictWords(rec);
}

std::vector<CaptureFrame> captureFrames(const ExchangeRecord& rec)
{
    std::vector<CaptureFrame> frames;
    CaptureFrame packet;
    packet.timestampUs = rec.writtenUs;
    packet.bytes = rec.sent;
    packet.comment = head(rec) + " sent";
    frames.push_back(packet);
    if (!rec.evaluated)
        return frames;

    const int64_t answerUs = rec.answerUs.value_or(rec.writtenUs);
    auto stray = [&](size_t from, size_t to, const char* why) {
        if (to <= from)
            return;
        CaptureFrame f;
        f.kind = CaptureFrame::Kind::Stray;
        f.timestampUs = answerUs;
        f.bytes = rec.answer.substr(from, to - from);
        f.comment = head(rec) + ": bytes that made no answer (" + why + ")";
        frames.push_back(f);
    };
    const Cut c = cut(rec);
    stray(0, c.echo, "an echo of the packet sent");
    stray(c.strayStart, c.answerStart,
          c.answerStart == c.answerEnd ? "no start byte" : "before the answer's start byte");
    if (c.answerEnd > c.answerStart) {
        CaptureFrame answer;
        answer.kind = CaptureFrame::Kind::Answer;
        answer.timestampUs = answerUs;
        answer.bytes = rec.answer.substr(c.answerStart, c.answerEnd - c.answerStart);
        answer.crcError = rec.extended && crcMismatch(answer.bytes, rec);
        answer.comment = exchangeVerdict(rec);
        frames.push_back(answer);
    } else {
        // No answer to carry the verdict: the packet does.
        frames.front().comment = head(rec) + " sent, " + verdictWords(rec);
    }
    stray(c.answerEnd, rec.answer.size(),
          rec.extended ? "after the answer's end byte" : "after the result character");
    return frames;
}

} // namespace lmx

// One exchange as capture frames: where what came is cut into the answer and the bytes that
// made no answer, the words each frame carries, the CRC error flag and the time stamps.
#include "packets/exchange_capture.h"
#include "packets/pcapng.h"
#include "protocol/framing.h"
#include "protocol/hex.h"
#include "sim/answer_writer.h"

#include <gtest/gtest.h>

using namespace lmx;
using Kind = CaptureFrame::Kind;

namespace {

constexpr int64_t kWrittenUs = 1'700'000'000'000'000;
constexpr int64_t kAnswerUs = kWrittenUs + 1234;

// Packet 0x41 (first of its series, sequence 1) to display 1, judged as the receive box judges
// its answer.
ExchangeRecord exchange(const std::string& answer, bool extended = true, int netNr = 1)
{
    ExchangeRecord rec;
    rec.extended = extended;
    rec.netNr = netNr;
    rec.packetNr = extended ? 0x41 : 0;
    rec.sent = extended ? *buildExtendedPacket(netNr, 0x41, "Hi") : *buildNormalPacket(netNr, "Hi");
    rec.writtenUs = kWrittenUs;
    if (!answer.empty())
        rec.answerUs = kAnswerUs;
    rec.answer = answer;
    evaluateAnswer(rec);
    return rec;
}

struct Frame {
    Kind kind;
    std::string bytes;
    std::string comment;
    bool crcError = false;

    bool operator==(const Frame& o) const
    {
        return kind == o.kind && bytes == o.bytes && comment == o.comment && crcError == o.crcError;
    }
};

std::ostream& operator<<(std::ostream& out, const Frame& f)
{
    out << "{" << static_cast<int>(f.kind) << ", '";
    for (const char c : f.bytes)
        out << (c >= 0x20 && c < 0x7F ? std::string(1, c) : "\\x" + byteToHex(uint8_t(c)));
    return out << "', \"" << f.comment << "\"" << (f.crcError ? ", CRC error" : "") << "}";
}

std::vector<Frame> framesOf(const ExchangeRecord& rec)
{
    std::vector<Frame> out;
    for (const CaptureFrame& f : captureFrames(rec))
        out.push_back({f.kind, f.bytes, f.comment, f.crcError});
    return out;
}

const std::string kGood = sim::answerPacket(1, 0x41, "0000");
const std::string kBadCrc = sim::answerPacket(1, 0xFE, 0x41, 4, "0000", 0x0101);

struct Case {
    const char* what;
    std::string answer;
    std::vector<Frame> after; // the frames after the packet
    std::string packetComment = ""; // empty: the packet was only sent
};

} // namespace

TEST(ExchangeCapture, WhatCameIsCutWhereTheAnswerLies)
{
    const std::string sent = *buildExtendedPacket(1, 0x41, "Hi");
    const std::string stray = "NetNr 1 packet 1: bytes that made no answer ";
    const Case cases[] = {
        {"a good answer", kGood, {{Kind::Answer, kGood, "NetNr 1 packet 1: OK"}}},
        {"a bad CRC", kBadCrc,
         {{Kind::Answer, kBadCrc, "NetNr 1 packet 1: Error Invalid answer CRC at CRC", true}}},
        {"a display's failure", sim::answerPacket(1, 0x41, "1500"),
         {{Kind::Answer, sim::answerPacket(1, 0x41, "1500"),
           "NetNr 1 packet 1: Answer: Param value out of range Param : $00"}}},
        {"noise before", "xy" + kGood,
         {{Kind::Stray, "xy", stray + "(before the answer's start byte)"},
          {Kind::Answer, kGood, "NetNr 1 packet 1: OK"}}},
        // The receive box judges what came, the echo included.
        {"an echo of the packet", sent + kGood,
         {{Kind::Stray, sent, stray + "(an echo of the packet sent)"},
          {Kind::Answer, kGood, "NetNr 1 packet 1: Error Invalid answer packet at ACK"}}},
        {"only an echo", sent, {{Kind::Stray, sent, stray + "(an echo of the packet sent)"}},
         "NetNr 1 packet 1 sent, Error Invalid answer packet at ACK"},
        // The answer check starts again at every start byte.
        {"a start the answer began again after", "\x01\x06" "01" + kGood,
         {{Kind::Stray, "\x01\x06" "01", stray + "(before the answer's start byte)"},
          {Kind::Answer, kGood, "NetNr 1 packet 1: OK"}}},
        {"bytes after the end byte", kGood + "zz",
         {{Kind::Answer, kGood, "NetNr 1 packet 1: OK"},
          {Kind::Stray, "zz", stray + "(after the answer's end byte)"}}},
        {"the garbage fault", "\x01?GARBAGE?\x04",
         {{Kind::Answer, "\x01?GARBAGE?\x04", "NetNr 1 packet 1: Error Invalid answer packet at ACK"}}},
        {"an answer cut short", kGood.substr(0, 12),
         {{Kind::Answer, kGood.substr(0, 12), "NetNr 1 packet 1: Error Answer packet incomplete at Data"}}},
        // Without an answer the packet carries the verdict.
        {"no start byte", "abc\x04", {{Kind::Stray, "abc\x04", stray + "(no start byte)"}},
         "NetNr 1 packet 1 sent, Error Answer packet incomplete at SOT"},
        {"nothing", "", {}, "NetNr 1 packet 1 sent, no answer"},
    };
    for (const Case& c : cases) {
        std::vector<Frame> expected{
                {Kind::Packet, sent, c.packetComment.empty() ? "NetNr 1 packet 1 sent" : c.packetComment}};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(framesOf(exchange(c.answer)), expected) << c.what;
    }
}

TEST(ExchangeCapture, TheNormalFramingsAnswerIsItsFirstByte)
{
    const std::string sent = *buildNormalPacket(1, "Hi");
    const Case cases[] = {
        {"OK", "0", {{Kind::Answer, "0", "NetNr 1: OK."}}},
        {"a failure", "5", {{Kind::Answer, "5", "NetNr 1: Error: Invalid command."}}},
        {"more after it", "0xy",
         {{Kind::Answer, "0", "NetNr 1: OK."},
          {Kind::Stray, "xy", "NetNr 1: bytes that made no answer (after the result character)"}}},
        {"nothing", "", {}, "NetNr 1 sent, no answer"},
    };
    for (const Case& c : cases) {
        std::vector<Frame> expected{
                {Kind::Packet, sent, c.packetComment.empty() ? "NetNr 1 sent" : c.packetComment}};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(framesOf(exchange(c.answer, false)), expected) << c.what;
    }
}

TEST(ExchangeCapture, AnExchangeWithoutAnAnswerTellsWhyOnThePacket)
{
    ExchangeRecord broadcast = exchange("", true, 0);
    EXPECT_EQ(captureFrames(broadcast).at(0).comment,
              "NetNr 0 packet 1 sent, No Answer received. Transmission done via NetNr 0. (RS485)");

    ExchangeRecord stopped = exchange("");
    markStopped(stopped);
    EXPECT_EQ(captureFrames(stopped).at(0).comment,
              "NetNr 1 packet 1 sent, stopped before the answer came");

    ExchangeRecord awaited = exchange("");
    awaited.evaluated = false;
    const std::vector<CaptureFrame> frames = captureFrames(awaited);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].comment, "NetNr 1 packet 1 sent");
}

TEST(ExchangeCapture, FramesAreDatedByTheWriteAndTheAnswersFirstByte)
{
    const ExchangeRecord rec = exchange("xy" + kGood);
    const std::vector<CaptureFrame> frames = captureFrames(rec);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].timestampUs, kWrittenUs);
    EXPECT_EQ(frames[1].timestampUs, kAnswerUs);
    EXPECT_EQ(frames[2].timestampUs, kAnswerUs);

    ExchangeRecord undated = exchange(kGood); // a recorder driven by hand may not know it
    undated.answerUs.reset();
    EXPECT_EQ(captureFrames(undated).at(1).timestampUs, kWrittenUs);
}

TEST(ExchangeCapture, FlagsSayOutboundInboundAndACrcError)
{
    const std::vector<CaptureFrame> good = captureFrames(exchange("xy" + kGood));
    ASSERT_EQ(good.size(), 3u);
    EXPECT_EQ(good[0].flags(), pcapng::kOutbound);
    EXPECT_EQ(good[1].flags(), pcapng::kInbound);
    EXPECT_EQ(good[2].flags(), pcapng::kInbound);
    EXPECT_EQ(captureFrames(exchange(kBadCrc)).at(1).flags(), pcapng::kInbound | pcapng::kCrcError);
    // A CRC field that is not hex is a fault of another kind.
    std::string notHex = kGood;
    notHex.replace(notHex.size() - 5, 4, "XYZW");
    EXPECT_EQ(captureFrames(exchange(notHex)).at(1).flags(), pcapng::kInbound);
}

#include "answer_builder.h"
#include "protocol/answer.h"
#include "protocol/packet_fields.h"
#include "sim/answer_writer.h"

#include <gtest/gtest.h>

using namespace lmx;
using lmx::testing::buildAnswer;

namespace {

// The fields in order, "name" for a field of its usual width, "name:size" otherwise (data and
// the like always), "!" behind a field that is bad.
std::string layout(const DecodedPacket& d)
{
    std::string out;
    for (const FieldSpan& s : d.spans) {
        const PacketField f = s.field;
        const size_t usual = f == PacketField::Crc ? 4
            : f == PacketField::Start || f == PacketField::Type || f == PacketField::End ? 1
            : f == PacketField::Data || f == PacketField::Reply || f == PacketField::Noise ? 0
                                                                                       : 2;
        out += out.empty() ? "" : " ";
        out += fieldName(f);
        if (s.size != usual)
            out += ":" + std::to_string(s.size);
        out += s.good ? "" : "!";
    }
    return out;
}

const char* const kGoodAnswer = "start type netnr inverse packet length result param CRC end";

} // namespace

TEST(PacketFields, SentPacketsByteForByte)
{
    // The worked example: network 1, packet 0, ESC Font '1', CRC CD43.
    const DecodedPacket font = decodeExtended(
            "\x01\x05\x30\x31\x46\x45\x30\x30\x30\x33\x1B\xA0\x31\x43\x44\x34\x33\x04", sentPacket());
    EXPECT_EQ(layout(font), "start type netnr inverse packet length data:3 CRC end");
    EXPECT_TRUE(font.allGood());
    EXPECT_EQ(font.netNr, 1);
    EXPECT_EQ(font.packetNr, 0);
    EXPECT_EQ(font.length, 3);
    EXPECT_EQ(font.find(PacketField::Crc)->offset, 13u);

    struct Case {
        std::string bytes;
        const char* layout;
    } const cases[] = {
        // the second example; start and end bytes inside data are data
        {"\x01\x05" "12ED4105" "Hello" "22A1" "\x04", "start type netnr inverse packet length data:5 CRC end"},
        {*buildExtendedPacket(1, 0, "\x01\x04"), "start type netnr inverse packet length data:2 CRC end"},
        {"\x01\x05" "01FE0003" "\x1B\xA0" "1" "CD44" "\x04", "start type netnr inverse packet length data:3 CRC! end"},
        {"\x01\x05" "01FF0003" "\x1B\xA0" "1" "CD43" "\x04", "start type netnr inverse! packet length data:3 CRC! end"},
        {"xx\x01\x05" "01FE00zz" "abc\x04", "noise:2 start type netnr inverse packet length! data:3! end"},
        {"\x01\x05" "01FE0009" "abc", "start type netnr inverse packet length data:3!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(layout(decodeExtended(c.bytes, sentPacket())), c.layout) << c.layout;

    const DecodedPacket normal = decodeNormal("\x01" "12" "Hi" "\x04");
    EXPECT_EQ(layout(normal), "start netnr data:2 end");
    EXPECT_EQ(normal.netNr, 0x12);
    EXPECT_EQ(layout(decodeNormal("\x01" "1")), "start netnr:1!");
}

TEST(PacketFields, AnswersAgreeWithTheParserForEveryFaultOfTheVirtualDisplay)
{
    // An answer with data: result, parameter 1, reply.
    const DecodedPacket reply = decodeExtended(buildAnswer(1, 0x41, "0001Orvanta"), answerTo(1, 0xC1));
    EXPECT_EQ(layout(reply), "start type netnr inverse packet length result param reply:7 CRC end");
    EXPECT_TRUE(reply.allGood());
    EXPECT_EQ(layout(decodeExtended(buildAnswer(1, 0, "0002"), answerTo(1, 0))),
              "start type netnr inverse packet length result param! CRC end");

    using sim::FaultKind;
    struct Case {
        FaultKind fault;
        const char* layout;
    } const cases[] = {
        {FaultKind::None, kGoodAnswer},
        {FaultKind::NoAnswer, ""},
        {FaultKind::BadCrc, "start type netnr inverse packet length result param CRC! end"},
        {FaultKind::WrongNetNr, "start type netnr! inverse! packet length result param CRC end"},
        {FaultKind::WrongSeq, "start type netnr inverse packet! length result param CRC end"},
        {FaultKind::BadLength, "start type netnr inverse packet length! result param:1! CRC end"},
        {FaultKind::Truncated, "start type netnr inverse packet length result param CRC:2!"},
        {FaultKind::Garbage, "start type! netnr! inverse! packet! length! end"},
        {FaultKind::Split, kGoodAnswer},
        {FaultKind::Slow, kGoodAnswer},
        {FaultKind::Code, kGoodAnswer},
    };
    for (const Case& c : cases) {
        sim::SimOptions options;
        options.fault = c.fault;
        options.faultCode = 0x15;
        sim::FaultInjector faults(options);
        std::string answer;
        for (const sim::TimedWrite& w : faults.extended(0x12, 0xC5, sim::answerData(0, "")).writes)
            answer += w.bytes;
        const DecodedPacket d = decodeExtended(answer, answerTo(0x12, 0xC5));
        EXPECT_EQ(layout(d), c.layout) << sim::faultName(c.fault);
        const AnswerParse parsed = parseExtendedAnswer(answer, 0x12, 0xC5);
        EXPECT_EQ(d.allGood(), parsed.ok && parseAnswerData(parsed.data).ok) << sim::faultName(c.fault);
    }
}

TEST(PacketFields, PacketNumbersByTheirPlaceInTheSeries)
{
    EXPECT_EQ(packetNumberText(0x00), "0x00 \xB7 only \xB7 0");
    EXPECT_EQ(packetNumberText(0x41), "0x41 \xB7 first \xB7 1");
    EXPECT_EQ(packetNumberText(0xC5), "0xC5 \xB7 middle \xB7 5");
    EXPECT_EQ(packetNumberText(0x80), "0x80 \xB7 last \xB7 0");
}

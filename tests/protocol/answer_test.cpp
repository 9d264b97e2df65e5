#include "answer_builder.h"
#include "protocol/answer.h"

#include <gtest/gtest.h>

using namespace lmx;
using lmx::testing::buildAnswer;

namespace {

// The worked example: network 1, packet 0, result 0, parameter 0.
const std::string kOkAnswer = "\x01\x06" "01FE0004" "0000" "B79A" "\x04";

AnswerParse parse(const std::string& s, uint8_t net = 1, uint8_t packet = 0)
{
    return parseExtendedAnswer(s, net, packet);
}

} // namespace

TEST(ExtendedAnswer, WorkedExampleAmongGarbageAndRestarts)
{
    const AnswerParse p = parseExtendedAnswer(kOkAnswer, 1, 0);
    EXPECT_TRUE(p.ok);
    EXPECT_TRUE(p.answerOk());
    EXPECT_EQ(p.state, AnswerState::Ready);
    EXPECT_EQ(p.data, "0000");
    EXPECT_EQ(buildAnswer(1, 0, "0000"), kOkAnswer);

    const AnswerParse d = parseAnswerData(p.data);
    EXPECT_TRUE(d.ok);
    EXPECT_EQ(d.errorCode, 0);
    EXPECT_EQ(d.paramText, "$00");
    EXPECT_EQ(d.state, AnswerState::Param);

    EXPECT_TRUE(parseExtendedAnswer("xyz\xFF" + kOkAnswer, 1, 0).ok);
    // a second start byte restarts the parse and the CRC
    EXPECT_TRUE(parseExtendedAnswer("\x01\x06" "01FE" + kOkAnswer, 1, 0).ok);
    // bytes after the end byte are not looked at
    EXPECT_TRUE(parseExtendedAnswer(kOkAnswer + "trailing", 1, 0).ok);
    // hex digits of the answer are accepted in either case
    const std::string covered = "\x06" "ab540004" "0000";
    const std::string lower = "\x01" + covered + "195b" + "\x04";
    ASSERT_EQ(crc16(covered), 0x195B);
    EXPECT_TRUE(parseExtendedAnswer(lower, 0xAB, 0).ok);
}

TEST(ExtendedAnswer, EveryErrorStateAndTheTextsOfTheFailures)
{
    using namespace answer_error;
    const auto expect = [](const std::string& s, uint8_t error, AnswerState state) {
        const AnswerParse o = parse(s);
        EXPECT_EQ(o.errorCode, error) << "for " << ::testing::PrintToString(s);
        EXPECT_EQ(o.state, state) << "for " << ::testing::PrintToString(s);
    };
    expect("", Incomplete, AnswerState::Sot);
    expect("garbage", Incomplete, AnswerState::Sot);
    expect("\x01", Incomplete, AnswerState::Ack);
    expect("\x01\x15", InvalidPacket, AnswerState::Ack);
    expect("\x01\x06", Incomplete, AnswerState::NetworkNr);
    expect("\x01\x06" "01", Incomplete, AnswerState::InvertedNetworkNr);
    expect("\x01\x06" "0G", InvalidHex, AnswerState::NetworkNr);
    expect("\x01\x06" "02FD00040000", WrongNetNr, AnswerState::NetworkNr);
    expect("\x01\x06" "01FF", WrongNetNr, AnswerState::InvertedNetworkNr);
    expect("\x01\x06" "01FEZZ", InvalidHex, AnswerState::PacketNr);
    expect("\x01\x06" "01FE01", InvalidSequence, AnswerState::PacketNr);
    expect("\x01\x06" "01FE0003", InvalidSize, AnswerState::DataLength);
    expect("\x01\x06" "01FE00C9", InvalidSize, AnswerState::DataLength); // 201
    expect("\x01\x06" "01FE0004" "00", Incomplete, AnswerState::Data);
    expect("\x01\x06" "01FE0004" "00\x04", InvalidPacket, AnswerState::Data);
    expect("\x01\x06" "01FE0004" "0000", Incomplete, AnswerState::Crc);
    // fields cut short by the end of the string are incomplete, never read as shorter numbers
    expect("\x01\x06" "0", Incomplete, AnswerState::NetworkNr);
    expect("\x01\x06" "01FE0", Incomplete, AnswerState::PacketNr);
    expect("\x01\x06" "01FE0004" "0000" "B79", Incomplete, AnswerState::Crc);
    expect("\x01\x06" "01FE0004" "0000" "XXXX\x04", InvalidHex, AnswerState::Crc);
    expect("\x01\x06" "01FE0004" "0000" "B79B\x04", InvalidCrc, AnswerState::Crc);
    expect("\x01\x06" "01FE0004" "0000" "B79A", Incomplete, AnswerState::Eot);
    expect("\x01\x06" "01FE0004" "0000" "B79A\x05", InvalidPacket, AnswerState::Eot);

    const AnswerParse p = parseExtendedAnswer("", 1, 0);
    EXPECT_EQ(errorText(p), "Answer packet incomplete");
    EXPECT_EQ(stateName(p.state), "SOT");
    const AnswerParse q = parseExtendedAnswer("\x01\x06" "01FE0003", 1, 0);
    EXPECT_EQ("Error " + errorText(q) + " at " + stateName(q.state),
              "Error Invalid answer packet size at Data Length");
}

TEST(ExtendedAnswer, NeverLooksPast255Characters)
{
    // a long run of garbage before a valid answer: the answer is out of reach
    const std::string late = std::string(250, 'x') + kOkAnswer;
    EXPECT_EQ(parse(late).errorCode, answer_error::Incomplete);
    // long answers and noise of every byte value never read out of bounds
    std::string noise;
    for (int i = 0; i < 4096; ++i)
        noise += static_cast<char>((i * 37) & 0xFF);
    parse(noise);
    parse(std::string(1000, '\x01'));
    parse("\x01\x06" "01FE00C8" + std::string(300, 'a'));
    EXPECT_TRUE(parseExtendedAnswer(buildAnswer(1, 0, "0001" + std::string(196, 'd')), 1, 0).ok);
}

TEST(ExtendedAnswer, RoundTripEveryNetworkAndPositionMatchedOnTheSequenceBitsOnly)
{
    for (int shown : {0x05, 0x45, 0x85, 0xC5})
        EXPECT_TRUE(parse(buildAnswer(1, shown, "0000"), 1, 0xC5).ok) << shown;
    EXPECT_EQ(parse(buildAnswer(1, 0x06, "0000"), 1, 0xC5).errorCode,
              answer_error::InvalidSequence);

    for (int net = 0; net <= 255; ++net) {
        for (int base : {0x00, 0x40, 0xC0, 0x80}) {
            for (int seq : {0, 1, 62, 63}) {
                const int packet = base + seq;
                const std::string data = "0001" + std::to_string(net * 1000 + packet);
                const AnswerParse p =
                    parseExtendedAnswer(buildAnswer(net, packet, data), static_cast<uint8_t>(net),
                                        static_cast<uint8_t>(packet));
                ASSERT_TRUE(p.ok) << net << " " << packet;
                ASSERT_EQ(p.data, data);
            }
        }
    }
}

TEST(AnswerData, ResultCodesAndParametersAndTheNormalResultCharacters)
{
    using namespace answer_error;
    AnswerParse d = parseAnswerData("1501");
    EXPECT_TRUE(d.ok); // a valid answer that reports a failure
    EXPECT_FALSE(d.answerOk());
    EXPECT_EQ(d.errorCode, 0x15);
    EXPECT_EQ("Answer: " + errorText(d) + " Param : " + d.paramText,
              "Answer: Param value out of range Param : $01");

    d = parseAnswerData("0001Hello");
    EXPECT_TRUE(d.ok);
    EXPECT_TRUE(d.answerOk());
    EXPECT_EQ(d.paramText, "$01");

    d = parseAnswerData("000");
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.errorCode, InvalidSize);
    EXPECT_EQ(stateName(d.state), "Answer");

    d = parseAnswerData("0G00");
    EXPECT_TRUE(d.errorCode == InvalidHex && d.state == AnswerState::Answer);
    d = parseAnswerData("00X0");
    EXPECT_TRUE(d.errorCode == InvalidHex && d.state == AnswerState::Param && d.paramText == "$X0");

    d = parseAnswerData("0002");
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.errorCode, UnknownAckParam);
    EXPECT_EQ(errorText(d), "Unknown ACK Param");

    const std::pair<unsigned, const char*> texts[] = {
        {0x00, "OK"}, {0x05, "Packet nr error"}, {0x18, "Multiple errors"},
        {0x24, "Invalid char in answer"}, {0x06, "Unknown Result Code"},
        {0x19, "Unknown Result Code"}, {0xFF, "Unknown Result Code"}};
    for (const auto& [code, text] : texts)
        EXPECT_EQ(resultText(code), text) << code;
    EXPECT_EQ(stateName(AnswerState::InvertedNetworkNr), "Inverted Network Nr");

    // the normal framing's answer: one result character, or none at all
    NormalAnswer n = parseNormalAnswer("", 0);
    EXPECT_TRUE(n.ok);
    EXPECT_TRUE(n.answerOk());
    EXPECT_EQ(normalResultText(n.resultChar),
              "No Answer received. Transmission done via NetNr 0. (RS485)");

    n = parseNormalAnswer("", 5);
    EXPECT_FALSE(n.ok);
    EXPECT_FALSE(n.answerOk());
    EXPECT_EQ(normalResultText(n.resultChar), "No Answer received. NetNr ?");

    n = parseNormalAnswer("0rest", 5);
    EXPECT_TRUE(n.ok && n.answerOk() && n.resultChar == '0');
    n = parseNormalAnswer("3", 5);
    EXPECT_TRUE(n.ok && !n.answerOk());

    const std::pair<char, const char*> characters[] = {
        {'0', "OK."}, {'3', "Invalid hex or decimal character."},
        {'A', "Other error, multiple errors."}, {':', ""}, {'@', ""},
        {'B', "Unknown Result Code"}, {'\0', "Unknown Result Code"}};
    for (const auto& [c, text] : characters)
        EXPECT_EQ(normalResultText(c), text) << int(c);
}

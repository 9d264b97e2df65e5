#include "sim_test_support.h"

#include "sim/answer_writer.h"

#include "protocol/answer.h"

#include <gtest/gtest.h>

using namespace lmx;
using namespace lmx::sim;
using namespace lmx::sim::testing;

namespace {

const std::string kFont = "\x1B\xA0" "1";

// A packet with one header field or the CRC replaced by `text` (offsets 2..9 the header, the
// CRC follows the data).
std::string withField(std::string p, size_t at, std::string_view text)
{
    p.replace(at, text.size(), text);
    return p;
}

} // namespace

TEST(SimPacketChecks, EachFieldGivesItsResultCodeOrNoAnswer)
{
    const std::string good = packet(1, 0, kFont); // 01 05 01FE0003 1B A0 31 CD43 04
    struct Case {
        const char* what;
        std::string bytes;
        int result;
        uint8_t packetNr = 0;
    } cases[] = {
        {"sound packet", good, 0x00},
        {"wrong CRC", withField(good, 13, "CD44"), 0x03},
        {"CRC not hex", withField(good, 13, "CDX3"), 0x02},
        {"lower-case CRC", withField(good, 13, "cd43"), 0x02},
        {"packet number not hex", withField(good, 6, "G0"), 0x02},
        {"length not hex", withField(good, 8, "0Z"), 0x02},
        {"length one short: no end byte where it says", withField(good, 8, "02"), 0x04},
        {"more than 240 data bytes", packet(1, 0, std::string(241, 'a')), 0x04},
        {"240 data bytes", packet(1, 0, std::string(240, 'a')), 0x00},
        {"empty data", packet(1, 0, ""), 0x00},
        {"only packet with a sequence", packet(1, 0x05, "a"), 0x05, 0x05},
        // an unreadable address or type is never answered (-1)
        {"address check not the complement", withField(good, 4, "FF"), -1},
        {"address not hex", withField(good, 2, "0G"), -1},
        {"lower-case address", withField(good, 2, "0a"), -1},
        {"unknown type", withField(good, 1, "\x07"), -1},
    };
    for (const auto& c : cases) {
        SimDevice device(optionsFor({1}));
        EXPECT_EQ(resultOf(device, c.bytes, 1, c.packetNr), c.result) << c.what;
        if (c.result == -1) {
            EXPECT_FALSE(device.dropped().empty()) << c.what;
            // the display is not stuck: the next sound packet is answered
            device.expire(10000);
            EXPECT_EQ(resultOf(device, good, 1, 0, 10000), 0x00) << c.what;
        }
    }
}

TEST(SimPacketChecks, ReadsDataByLengthResynchronisesDropsWhatIsCutShortAndTakesSplitInput)
{
    SimDevice device(optionsFor({1}));
    // start and end bytes inside the data are data; here they are content the display
    // refuses (SOT/EOT belong to the framing), but the packet itself is sound
    EXPECT_EQ(resultOf(device, packet(1, 0, "A\x01\x04" "B"), 1, 0), 0x10);
    ASSERT_EQ(device.packets().size(), 1u);
    EXPECT_EQ(device.packets()[0].data, "A\x01\x04" "B");

    const std::string good = packet(1, 0, kFont);
    // noise, a packet cut inside its header, then a sound one
    EXPECT_EQ(resultOf(device, "zz" + good.substr(0, 5) + good, 1, 0), 0x00);
    ASSERT_EQ(device.dropped().size(), 2u);
    EXPECT_EQ(device.dropped()[0].reason, "noise");
    EXPECT_EQ(device.dropped()[1].reason, "incomplete header");

    // a packet that stops after its header is answered "Time out" after the silence, and
    // the next packet is not swallowed
    EXPECT_TRUE(device.receive(good.substr(0, 12), 1000).empty());
    EXPECT_EQ(device.deadline(), 1300);
    EXPECT_TRUE(device.expire(1299).empty());
    const std::string timeout = joined(device.expire(1300));
    const AnswerParse p = parseExtendedAnswer(timeout, 1, 0);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.data, "0100");
    EXPECT_EQ(resultOf(device, good, 1, 0, 1400), 0x00);
    EXPECT_EQ(device.deadline(), -1);

    // bytes arriving one by one make the same packet
    SimDevice other(optionsFor({0x12}));
    std::string answer;
    for (char c : packet(0x12, 0x40, "Hello"))
        answer += joined(other.receive(std::string(1, c), 0));
    EXPECT_EQ(answer, answerPacket(0x12, 0x40, "0000"));
}

TEST(SimSeries, PacketNumbersWithinASeries)
{
    std::vector<int> wrapped = {0x40}; // 65 packets: the sequence wraps after 63
    for (int k = 1; k < 64; ++k)
        wrapped.push_back(0xC0 + k);
    wrapped.push_back(0x80);
    struct Case {
        const char* what;
        std::vector<int> numbers;
        std::vector<int> results;
        size_t lost = SIZE_MAX; // the packet whose CRC is spoilt on the way
    } cases[] = {
        {"single packets", {0x00, 0x00}, {0, 0}},
        {"two packets", {0x40, 0x81}, {0, 0}},
        {"three packets", {0x40, 0xC1, 0x82}, {0, 0, 0}},
        {"first may start at another sequence", {0x41, 0xC2, 0x83}, {0, 0, 0}},
        {"a middle packet skipped", {0x40, 0xC2, 0x83}, {0, 5, 5}},
        {"middle without a first", {0xC1, 0x82, 0x00}, {5, 5, 0}},
        {"last repeated", {0x40, 0x81, 0x81}, {0, 0, 5}},
        {"only packet inside a series starts afresh", {0x40, 0x00, 0x81}, {0, 0, 5}},
        {"new first gives up the open series", {0x40, 0xC1, 0x40, 0x81}, {0, 0, 0, 0}},
        {"sequence wraps", wrapped, std::vector<int>(65, 0)},
        {"a lost packet breaks its series", {0x40, 0xC1, 0x82}, {0, 3, 5}, 1},
    };
    for (const auto& c : cases) {
        SimDevice device(optionsFor({1}));
        for (size_t i = 0; i < c.numbers.size(); ++i) {
            const std::string p = packet(1, c.numbers[i], "a");
            EXPECT_EQ(resultOf(device, i == c.lost ? withField(p, 11, "0000") : p, 1,
                               static_cast<uint8_t>(c.numbers[i])),
                      c.results[i])
                << c.what << ", packet " << i;
        }
    }
}

TEST(SimAddressing, BroadcastsAreExecutedByAllAndAnsweredByNone)
{
    SimDevice device(optionsFor({1, 2}));
    EXPECT_TRUE(device.receive(packet(0, 0, "\x02" "01Hi\x03"), 0).empty());
    // packets to a display that is not here are read past, not answered
    EXPECT_TRUE(device.receive(packet(7, 0, "\x02" "02Other\x03"), 0).empty());
    // and do not disturb the displays that are
    EXPECT_EQ(resultOf(device, packet(2, 0, kFont), 2, 0), 0);
    for (const auto& d : device.displays()) {
        ASSERT_EQ(d.texts.count({1, -1, -1}), 1u) << int(d.netNr);
        EXPECT_EQ(d.texts.at({1, -1, -1}), "Hi");
        EXPECT_EQ(d.texts.count({2, -1, -1}), 0u);
    }
    ASSERT_EQ(device.packets().size(), 3u);
    EXPECT_EQ(device.packets()[0].disposition, Disposition::Broadcast);
    EXPECT_EQ(device.packets()[1].disposition, Disposition::OtherDisplay);
    EXPECT_EQ(device.packets()[2].disposition, Disposition::Answered);
}

TEST(SimNormalFraming, OneResultCharacterPerDisplayBlock)
{
    SimDevice device(optionsFor({5}, true));
    EXPECT_EQ(joined(device.receive(*buildNormalPacket(5, "\x02" "01Hi\x03"), 0)), "0");
    EXPECT_EQ(joined(device.receive(*buildNormalPacket(5, "\x1B\xA0" "A"), 0)), "7");
    EXPECT_EQ(joined(device.receive(*buildNormalPacket(5, "\x1B\x30"), 0)), "5");
    EXPECT_EQ(joined(device.receive(*buildNormalPacket(5, "\x1B\xA0"), 0)), "9"); // cut off
    EXPECT_EQ(joined(device.receive(*buildNormalPacket(5, std::string(241, 'a')), 0)), "9");
    const std::string cut = *buildNormalPacket(5, "abc");
    EXPECT_TRUE(device.receive(cut.substr(0, 4), 1000).empty());
    EXPECT_EQ(joined(device.expire(1300)), "1"); // time out
    EXPECT_TRUE(device.receive(*buildNormalPacket(0, "x"), 0).empty());
    EXPECT_TRUE(device.receive(*buildNormalPacket(6, "x"), 0).empty());
}

TEST(SimFaults, EachFaultSpoilsTheAnswerAsNamed)
{
    using namespace answer_error;
    struct Case {
        FaultKind kind;
        uint8_t error;      // what the client's parser makes of it
        AnswerState state;
    } cases[] = {
        {FaultKind::BadCrc, InvalidCrc, AnswerState::Crc},
        {FaultKind::WrongNetNr, WrongNetNr, AnswerState::NetworkNr},
        {FaultKind::WrongSeq, InvalidSequence, AnswerState::PacketNr},
        {FaultKind::BadLength, InvalidSize, AnswerState::DataLength},
        {FaultKind::Truncated, Incomplete, AnswerState::Crc},
        {FaultKind::Garbage, InvalidPacket, AnswerState::Ack},
    };
    for (const auto& c : cases) {
        SimOptions o = optionsFor({255});
        o.fault = c.kind;
        SimDevice device(o);
        const auto writes = device.receive(packet(255, 0x40, "a"), 0);
        ASSERT_EQ(writes.size(), 1u) << faultName(c.kind);
        EXPECT_EQ(writes[0].delayMs, 0u);
        const AnswerParse p = parseExtendedAnswer(writes[0].bytes, 255, 0x40);
        EXPECT_FALSE(p.ok) << faultName(c.kind);
        EXPECT_EQ(p.errorCode, c.error) << faultName(c.kind);
        EXPECT_EQ(p.state, c.state) << faultName(c.kind);
        EXPECT_EQ(device.packets().back().disposition, Disposition::Faulted);
        // the display's own judgement is untouched: the series goes on
        EXPECT_EQ(device.packets().back().result, 0);
    }
}

TEST(SimFaults, TimingFaultsAndChosenCodesStayValid)
{
    const std::string valid = answerPacket(1, 0, "0000");
    SimOptions o = optionsFor({1});

    o.fault = FaultKind::Split;
    o.splitPauseMs = 120;
    auto writes = SimDevice(o).receive(packet(1, 0, "a"), 0);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].delayMs, 0u);
    EXPECT_EQ(writes[1].delayMs, 120u);
    EXPECT_EQ(writes[0].bytes.find('\x04'), std::string::npos); // the client must wait
    EXPECT_EQ(writes[0].bytes + writes[1].bytes, valid);

    o.fault = FaultKind::Slow;
    o.slowDelayMs = 1500;
    writes = SimDevice(o).receive(packet(1, 0, "a"), 0);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].delayMs, 1500u);
    EXPECT_EQ(writes[0].bytes, valid);

    o.fault = FaultKind::NoAnswer;
    EXPECT_TRUE(SimDevice(o).receive(packet(1, 0, "a"), 0).empty());

    o.fault = FaultKind::Code;
    o.faultCode = 0x16;
    SimDevice coded(o);
    EXPECT_EQ(resultOf(coded, packet(1, 0, "a"), 1, 0), 0x16);

    o.normalFraming = true;
    SimDevice normalCoded(o);
    EXPECT_EQ(joined(normalCoded.receive(*buildNormalPacket(1, "a"), 0)), "8");
    o.fault = FaultKind::Garbage;
    SimDevice normalGarbage(o);
    const std::string noise = joined(normalGarbage.receive(*buildNormalPacket(1, "a"), 0));
    EXPECT_FALSE(parseNormalAnswer(noise, 1).answerOk());
    EXPECT_EQ(noise.find_first_of("0123456789A"), std::string::npos); // never completes
}

TEST(SimFaults, EveryNthAnswerOnly)
{
    SimOptions o = optionsFor({1});
    o.fault = FaultKind::BadCrc;
    o.faultEvery = 3;
    SimDevice device(o);
    std::vector<int> results;
    for (int i = 0; i < 6; ++i)
        results.push_back(resultOf(device, packet(1, 0, "a"), 1, 0));
    EXPECT_EQ(results, (std::vector<int>{0, 0, -2, 0, 0, -2}));
    // unanswered packets do not count
    device.receive(packet(0, 0, "a"), 0);
    device.receive(packet(9, 0, "a"), 0);
    EXPECT_EQ(resultOf(device, packet(1, 0, "a"), 1, 0), 0);
}

TEST(SimFaults, ARateSpoilsAnswersAtRandomTheSameForOneSeed)
{
    const auto hits = [](std::optional<double> rate, uint64_t seed) {
        SimOptions o = optionsFor({1});
        o.fault = FaultKind::BadCrc;
        o.faultRate = rate;
        o.faultSeed = seed;
        SimDevice device(o);
        std::vector<bool> spoilt;
        for (int i = 0; i < 4000; ++i)
            spoilt.push_back(resultOf(device, packet(1, 0, "a"), 1, 0) == -2);
        return spoilt;
    };
    const auto count = [](const std::vector<bool>& v) { return std::count(v.begin(), v.end(), true); };
    EXPECT_EQ(hits(0.1, 7), hits(0.1, 7));
    EXPECT_NE(hits(0.1, 7), hits(0.1, 8));
    EXPECT_EQ(count(hits(0.0, 7)), 0);
    EXPECT_EQ(count(hits(1.0, 7)), 4000);
    // 400 expected; the bounds lie beyond five standard deviations (19)
    EXPECT_GT(count(hits(0.1, 7)), 300);
    EXPECT_LT(count(hits(0.1, 7)), 500);
}

TEST(SimFaults, CycleMeetsEveryKindInTurnAsItsOwnFaultWould)
{
    for (const bool normal : {false, true}) {
        SCOPED_TRACE(normal ? "normal framing" : "extended framing");
        SimOptions o = optionsFor({1}, normal);
        o.fault = FaultKind::Cycle;
        o.faultEvery = 2;
        SimDevice cycling(o);
        const std::string p = normal ? *buildNormalPacket(1, "a") : packet(1, 0, "a");
        const std::vector<FaultKind>& kinds = cycleKinds(normal);
        // twice round, so that the chosen code moves on, then the first kind again
        const size_t faults = 2 * kinds.size() + 1;
        for (size_t i = 0; i < 2 * faults; ++i) {
            const std::string answer = joined(cycling.receive(p, 0));
            const PacketRecord& r = cycling.packets().back();
            if (i % 2 == 0) {
                EXPECT_EQ(r.disposition, Disposition::Answered);
                continue;
            }
            ASSERT_EQ(r.disposition, Disposition::Faulted);
            const size_t hit = i / 2;
            const FaultKind kind = kinds[hit % kinds.size()];
            EXPECT_EQ(r.fault, kind != FaultKind::Code ? faultName(kind)
                               : hit < kinds.size()    ? "code-01"
                                                       : "code-10");
            // the same answer a display with only that fault gives
            SimOptions single = optionsFor({1}, normal);
            single.fault = kind;
            single.faultCode = hit < kinds.size() ? 0x01 : 0x10;
            SimDevice alone(single);
            EXPECT_EQ(joined(alone.receive(p, 0)), answer) << r.fault;
        }
    }
    // every kind there is takes its turn with the extended framing
    EXPECT_EQ(cycleKinds(false).size(), 10u);
    EXPECT_EQ(cycleKinds(true),
              (std::vector<FaultKind>{FaultKind::NoAnswer, FaultKind::Garbage, FaultKind::Slow,
                                      FaultKind::Code}));
}

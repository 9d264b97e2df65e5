// The rules of the bus without a line: network number lists, and what a scan makes of an
// answer to its probe.
#include "bus/bus_scan.h"
#include "bus/netnr_list.h"
#include "protocol/answer.h"
#include "protocol/framing.h"
#include "tests/protocol/answer_builder.h"

#include <gtest/gtest.h>

using namespace lmx;

TEST(NetNrList, NumbersAndRangesInTheOrderWrittenOrWhyNot)
{
    struct Case {
        const char* text;
        std::vector<int> numbers;
        const char* error;
    };
    const Case cases[] = {
            {"1-12,18", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 18}, ""},
            {" 7 , 3-4 ,0", {7, 3, 4, 0}, ""},
            {"255", {255}, ""},
            {"", {}, "no network number given"},
            {"1,,2", {}, "an empty place between two commas"},
            {"1,", {}, "an empty place between two commas"},
            {"a-3", {}, "'a-3' is neither a network number nor a range such as 1-12"},
            {"1-", {}, "'1-' is neither a network number nor a range such as 1-12"},
            {"0x10", {}, "'0x10' is neither a network number nor a range such as 1-12"},
            {"250-256", {}, "network number 256 is outside 0..255"},
            {"12-1", {}, "the range 12-1 runs backwards; write 1-12"},
            {"1-3,2", {}, "network number 2 is named twice"},
    };
    for (const Case& c : cases) {
        const NetNrList list = parseNetNrList(c.text);
        EXPECT_EQ(list.numbers, c.numbers) << c.text;
        EXPECT_EQ(list.error, c.error) << c.text;
    }
}

TEST(BusScan, TheProbeIsInquiryOneInOnePacketAndEachAnswerIsListedInWords)
{
    EXPECT_EQ(probePacket(17, true), *buildExtendedPacket(17, 0, "\x1B\xA6" "1"));
    EXPECT_EQ(probePacket(17, false), "\x01" "11\x1B\xA6" "1\x04");
    const TransmissionPlan plan = scanPlan(3, 5, true);
    ASSERT_EQ(plan.blocks.size(), 3u);
    EXPECT_EQ(plan.packets[2].packet, probePacket(5, true));
    EXPECT_EQ(plan.blocks[2].netNr, 5);

    const std::string good = lmx::testing::buildAnswer(5, 0, "0001Ready");
    std::string badCrc = good;
    badCrc[badCrc.size() - 2] = badCrc[badCrc.size() - 2] == '0' ? '1' : '0';
    struct Case {
        std::string answer;
        bool extended;
        std::optional<double> rttMs;
        const char* line; // nullptr: not listed
    };
    const Case cases[] = {
            {good, true, 3.25, "NetNr 5: OK (3.3 ms) data 52 65 61 64 79"},
            {lmx::testing::buildAnswer(5, 0, "0000"), true, 0.04, "NetNr 5: OK (0.0 ms)"},
            {lmx::testing::buildAnswer(5, 0, "1500"), true, 1.0, "NetNr 5: Param value out of range (1.0 ms)"},
            // Whatever does not check is noise, not a display.
            {badCrc, true, 2.0, "NetNr 5: noise: Invalid answer CRC at CRC (2.0 ms)"},
            // A late answer of another display lands on the next number.
            {lmx::testing::buildAnswer(4, 0, "0000"), true, 1.0, "NetNr 5: noise: Answer has wrong netnr at Network Nr (1.0 ms)"},
            {good.substr(0, 12), true, std::nullopt, "NetNr 5: noise: Answer packet incomplete at Data (no end byte)"},
            {std::string(kMaxAnswerBytes, '\x01'), true, std::nullopt, "NetNr 5: noise: Answer too long at ACK (no end byte)"},
            {"", true, std::nullopt, nullptr},
            {"0", false, 0.5, "NetNr 5: OK. (0.5 ms)"},
            {"5", false, 0.5, "NetNr 5: Invalid command. (0.5 ms)"},
            {"x0", false, 0.5, "NetNr 5: noise: Unknown Result Code (0.5 ms)"},
            {"/", false, 0.5, "NetNr 5: noise: No Answer received. Transmission done via NetNr 0. (RS485) (0.5 ms)"},
    };
    for (const Case& c : cases) {
        ExchangeRecord rec;
        rec.netNr = 5;
        rec.extended = c.extended;
        rec.answer = c.answer;
        evaluateAnswer(rec);
        rec.rttMs = c.rttMs;
        const std::optional<ScanAnswer> a = scanAnswerOf(rec);
        ASSERT_EQ(a.has_value(), c.line != nullptr) << c.answer;
        if (a) {
            EXPECT_EQ(scanLine(*a), c.line);
            EXPECT_EQ(a->display, std::string(c.line).find("noise") == std::string::npos) << c.line;
        }
    }
    EXPECT_EQ(scanCountLine(1), "1 display answered");
    EXPECT_EQ(scanCountLine(0), "0 displays answered");
    EXPECT_EQ(scanNoiseLine(1), "1 number gave noise, not counted as a display");
    EXPECT_EQ(scanNoiseLine(2), "2 numbers gave noise, not counted as displays");
}

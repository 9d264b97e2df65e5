// How a command list is cut into blocks, series and packet chunks.
#include "engine_test_support.h"

#include "transmission/transmission_cutter.h"
#include "transmission/transmission_plan.h"

#include <gtest/gtest.h>

using namespace lmx::cut;
using namespace enginetest;

TEST(Cutter, TheStreamDropsOnlyTheMarkerThatOpensAKeyOrHexLine)
{
    // Raw 09 and 10 typed into a HEX line or a text are data like any other byte.
    EXPECT_EQ(buildStream({"\x10" "\x09\x10\x41", "\x09" "\x1B\xA0" "1", "a\x09" "b\x10", "<End>"}),
              "\x09\x10\x41" "\x1B\xA0" "1" "a\x09" "b\x10");
    EXPECT_EQ(buildStream({"<End>", "x"}), "<End>x"); // only a last end line is left out
}

TEST(Cutter, BreakRunsKeepTheirFirstFpackAndFirstNpack)
{
    std::string s = fpack(1) + npack(2) + fpack(3) + npack(4) + "A" + fpack(5) + fpack(6) + "\x07" "1";
    collapseBreakRuns(s);
    EXPECT_EQ(s, fpack(1) + npack(2) + "A" + fpack(5));
    removeLeadingBreaks(s);
    EXPECT_EQ(s, "A" + fpack(5));
    EXPECT_EQ(breakWait("\x07" "12x45", 0), 0);

    // What stands between two display blocks: break lines only, the first NPACK's wait counts.
    int wait = -1;
    EXPECT_TRUE(onlyBreaks(fpack(1) + npack(200) + npack(300), wait));
    EXPECT_EQ(wait, 200);
    EXPECT_TRUE(onlyBreaks(fpack(100), wait));
    EXPECT_EQ(wait, 0);
    EXPECT_TRUE(onlyBreaks(std::string("\x08" "12"), wait)); // cut off at the end of the list
    EXPECT_FALSE(onlyBreaks(npack(200) + "A", wait));
}

TEST(Cutter, SeriesEndAtNpackAndChunksAtFpackOrThePacketSize)
{
    std::string block = "A" + npack(300) + "B" + npack(400);
    std::string last = block;
    EXPECT_EQ(takeSeries(block, false).wait, 300);
    EXPECT_EQ(takeSeries(block, false).wait, 400);
    takeSeries(last, true);
    EXPECT_EQ(takeSeries(last, true).wait, 0); // nothing follows that could wait for it

    std::string series = std::string(5, 'a') + fpack(70) + "bc" + fpack(80) + "ddd";
    EXPECT_EQ(countPackets(series, 2), 3 + 1 + 2);
    EXPECT_EQ(withoutForcedBreaks(series), "aaaaabcddd");
    EXPECT_EQ(lastForcedBreakWait(series), 80);
    std::vector<std::pair<std::string, int>> chunks;
    while (!series.empty()) {
        const Chunk c = nextChunk(series, 2);
        chunks.emplace_back(c.bytes, c.answerWait);
    }
    EXPECT_EQ(chunks, (std::vector<std::pair<std::string, int>>{
                          {"aa", 0}, {"aa", 0}, {"a", 70}, {"bc", 80}, {"dd", 0}, {"d", 0}}));
}

TEST(Cutter, ThePlanTracesEveryPacketToTheLinesItCarries)
{
    // Each packet as "netnr/packet number: lines"; break lines and block markers are not data.
    struct Case {
        const char* name;
        Lines lines;
        Lines packets;
    } const cases[] = {
        {"collapsed breaks", {npack(0), "aa", fpack(0), fpack(3000), "bb", npack(0), npack(5), "cc"},
         {"1/64: 1", "1/129: 4", "1/0: 7"}},
        {"marked lines and a long line", {"\x09" "ab", "\x10" "cd", std::string(5, 'e'), "<End>"},
         {"1/64: 0 1 2", "1/129: 2"}},
        {"one packet over FPACKs", {sot("05"), "x", fpack(0), kEot, "y"}, {"5/0: 1", "1/0: 4"}},
        {"unterminated block", {"a", sot("02"), "b"}, {"1/0: 0"}},
    };
    for (const Case& c : cases) {
        const lmx::TransmissionPlan plan = lmx::planTransmission({c.lines, true, 1, 6});
        Lines packets;
        for (const lmx::PlannedPacket& p : plan.packets) {
            std::string text = std::to_string(p.netNr) + "/" + std::to_string(p.packetNr) + ":";
            for (const int line : p.lines)
                text += " " + std::to_string(line);
            packets.push_back(text);
        }
        EXPECT_EQ(packets, c.packets) << c.name;
    }
}

// How a command list is cut into blocks, series and packet chunks.
#include "engine_test_support.h"

#include "serial/transmission_cutter.h"

#include <gtest/gtest.h>

using namespace lmx;
using namespace lmx::cut;
using namespace enginetest;

TEST(Cutter, TheStreamDropsOnlyTheMarkerThatOpensAKeyOrHexLine)
{
    // Raw 09 and 10 typed into a HEX line or a text are data like any other byte.
    const Lines lines = {"\x10" "\x09\x10\x41", "\x09" "\x1B\xA0" "1", "a\x09" "b\x10", "<End>"};
    EXPECT_EQ(buildStream(lines), "\x09\x10\x41" "\x1B\xA0" "1" "a\x09" "b\x10");
    // Only a last end marker is left out; the list may come without it.
    EXPECT_EQ(buildStream({"<End>", "x"}), "<End>x");
    EXPECT_EQ(buildStream({"<End>"}), "");
}

TEST(Cutter, BreakRunsKeepTheirFirstFpackAndFirstNpack)
{
    std::string s = fpack(1) + npack(2) + fpack(3) + npack(4) + "A" + fpack(5) + fpack(6);
    collapseBreakRuns(s);
    EXPECT_EQ(s, fpack(1) + npack(2) + "A" + fpack(5));
    removeLeadingBreaks(s);
    EXPECT_EQ(s, "A" + fpack(5));
    std::string cutOff = "\x07" "12";
    removeLeadingBreaks(cutOff); // a break cut off at the end goes as a whole
    EXPECT_EQ(cutOff, "");
    EXPECT_EQ(breakWait(fpack(250), 0), 250);
    EXPECT_EQ(breakWait("\x07" "12x45", 0), 0);
}

TEST(Cutter, BlocksFollowSotAndEot)
{
    std::string stream = "pre" + sot("1A") + "in" + kEot + "mid" + sot("02") + kEot + sot("03") + "x";
    Block b = takeBlock(stream);
    EXPECT_EQ(b.kind, Block::Kind::Before);
    EXPECT_EQ(b.bytes, "pre");
    b = takeBlock(stream);
    EXPECT_EQ(b.kind, Block::Kind::Addressed);
    int netNr = -1;
    ASSERT_TRUE(takeNetworkNumber(b.bytes, netNr));
    EXPECT_EQ(netNr, 26);
    EXPECT_EQ(b.bytes, "in");
    EXPECT_EQ(takeBlock(stream).bytes, "mid");
    b = takeBlock(stream);
    EXPECT_EQ(b.bytes, "02");
    b = takeBlock(stream);
    EXPECT_EQ(b.kind, Block::Kind::Unterminated); // no EOT: the stream stays as it was
    EXPECT_EQ(stream, sot("03") + "x");
    stream = "tail";
    EXPECT_EQ(takeBlock(stream).kind, Block::Kind::Unaddressed);
    EXPECT_TRUE(stream.empty());

    for (std::string bad : {"1", "G1x", ""}) {
        const std::string before = bad;
        EXPECT_FALSE(takeNetworkNumber(bad, netNr)) << before;
        EXPECT_EQ(bad, before);
    }
}

TEST(Cutter, SeriesEndAtNpackAndTakeItsWaitUnlessNothingFollows)
{
    std::string block = "A" + npack(300) + "B" + npack(400);
    Series s = takeSeries(block, false);
    EXPECT_EQ(s.bytes, "A");
    EXPECT_EQ(s.wait, 300);
    std::string last = block;
    s = takeSeries(block, false); // more blocks follow: the wait stands
    EXPECT_EQ(s.wait, 400);
    s = takeSeries(last, true);
    EXPECT_EQ(s.bytes, "B");
    EXPECT_EQ(s.wait, 0);
    EXPECT_TRUE(last.empty());
}

TEST(Cutter, ChunksAreCutAtFpackAndAtThePacketSize)
{
    std::string series = std::string(5, 'a') + fpack(70) + "bc" + fpack(80) + std::string(3, 'd');
    EXPECT_EQ(countPackets(series, 2), 3 + 1 + 2);
    EXPECT_EQ(countPackets(fpack(1) + fpack(2), 2), 0);
    EXPECT_EQ(withoutForcedBreaks(series), "aaaaabcddd");
    EXPECT_EQ(lastForcedBreakWait(series), 80);
    EXPECT_EQ(lastForcedBreakWait("abc"), 0);

    std::vector<std::pair<std::string, int>> chunks;
    while (!series.empty()) {
        const Chunk c = nextChunk(series, 2);
        chunks.emplace_back(c.bytes, c.answerWait);
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {"aa", 0}, {"aa", 0}, {"a", 70}, {"bc", 80}, {"dd", 0}, {"d", 0}};
    EXPECT_EQ(chunks, expected);
}

// The pcapng blocks byte for byte where the layout is fixed, and read back where it depends on
// the data: lengths, padding, time stamps, direction and error flags.
#include "packets/pcapng.h"
#include "pcapng_reader.h"

#include <gtest/gtest.h>

using namespace lmx;
using namespace pcapngtest;

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (const int v : values)
        s += static_cast<char>(v);
    return s;
}

} // namespace

TEST(Pcapng, SectionHeaderHoldsTheByteOrderVersionAndTheWritingProgram)
{
    const std::string expected =
            bytes({0x0A, 0x0D, 0x0D, 0x0A, 48, 0, 0, 0,           // type, length
                   0x4D, 0x3C, 0x2B, 0x1A, 1, 0, 0, 0,             // byte order, version 1.0
                   0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, // section length unknown
                   4, 0, 10, 0})                                   // shb_userappl, 10 bytes
            + "Orvanta 1." + bytes({0, 0,                          // padded to 12
                                    0, 0, 0, 0,                    // opt_endofopt
                                    48, 0, 0, 0});
    EXPECT_EQ(pcapng::sectionHeaderBlock("Orvanta 1."), expected);
}

TEST(Pcapng, InterfaceDescriptionNamesThePortItsLineSettingsAndMicroseconds)
{
    const std::string expected =
            bytes({1, 0, 0, 0, 52, 0, 0, 0,      // type, length
                   147, 0, 0, 0, 0, 0, 0, 0,     // LINKTYPE_USER0, reserved, no snap length
                   2, 0, 5, 0})                  // if_name
            + "ttyS0" + bytes({0, 0, 0,
                               3, 0, 4, 0})      // if_description
            + "8N1," + bytes({9, 0, 1, 0, 6, 0, 0, 0, // if_tsresol 10^-6, padded
                              0, 0, 0, 0,
                              52, 0, 0, 0});
    EXPECT_EQ(pcapng::interfaceDescriptionBlock({"ttyS0", "8N1,"}), expected);
}

// Every data length pads to the next 32-bit boundary and is told in full, with the options
// still readable after the padding.
class PcapngPadding : public ::testing::TestWithParam<size_t> {};

TEST_P(PcapngPadding, EnhancedPacketPadsItsDataAndTellsItsLength)
{
    std::string data;
    for (size_t i = 0; i < GetParam(); ++i)
        data += static_cast<char>(0xF0 + i % 16);
    pcapng::Packet p;
    p.bytes = data;
    p.flags = pcapng::kInbound;
    p.comment = "NetNr 1";
    const std::string block = pcapng::enhancedPacketBlock(p);
    const std::vector<Block> blocks = readBlocks(block);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_TRUE(blocks[0].wellFormed);
    EXPECT_EQ(blocks[0].type, pcapng::kEnhancedPacketType);
    const Packet read = readPacket(blocks[0]);
    EXPECT_EQ(read.capturedLength, data.size());
    EXPECT_EQ(read.originalLength, data.size());
    EXPECT_EQ(read.data, data);
    EXPECT_TRUE(read.padded);
    EXPECT_EQ(read.comment(), "NetNr 1");
    EXPECT_EQ(read.flags(), pcapng::kInbound);
    // 20 bytes of fields, the data padded, comment 4 + 8, flags 4 + 4, end 4, both lengths.
    EXPECT_EQ(block.size(), 12 + 20 + (data.size() + 3) / 4 * 4 + 12 + 8 + 4);
}

INSTANTIATE_TEST_SUITE_P(Lengths, PcapngPadding, ::testing::Values(0, 1, 2, 3, 4, 5, 18, 255));

TEST(Pcapng, FlagsTellTheDirectionAndACrcError)
{
    const struct {
        uint32_t flags;
        uint32_t direction;
        bool crcError;
    } cases[] = {
        {pcapng::kOutbound, 2, false},
        {pcapng::kInbound, 1, false},
        {pcapng::kInbound | pcapng::kCrcError, 1, true},
    };
    for (const auto& c : cases) {
        pcapng::Packet p;
        p.bytes = "\x01\x06";
        p.flags = c.flags;
        const Packet read = readPacket(readBlocks(pcapng::enhancedPacketBlock(p)).at(0));
        EXPECT_EQ(read.flags() & 3, c.direction) << c.flags;
        EXPECT_EQ((read.flags() >> 24 & 1) == 1, c.crcError) << c.flags;
        EXPECT_EQ(read.flags() & 0x00FFFFFC, 0u) << "no other bit: " << c.flags;
    }
}

TEST(Pcapng, TimeStampSplitsIntoTheHighAndTheLowWord)
{
    const struct {
        int64_t us;
        uint64_t written;
    } cases[] = {
        {0x0006'1234'5678'9ABCLL, 0x0006'1234'5678'9ABCULL},
        {1'700'000'000'123'456LL, 1'700'000'000'123'456ULL},
        {-5, 0}, // before 1970 cannot be told: the start of the epoch
    };
    for (const auto& c : cases) {
        pcapng::Packet p;
        p.timestampUs = c.us;
        const std::vector<Block> blocks = readBlocks(pcapng::enhancedPacketBlock(p));
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(readPacket(blocks[0]).timestampUs, c.written) << c.us;
    }
}

TEST(Pcapng, APacketWithoutCommentOrFlagsHasNoOptions)
{
    pcapng::Packet p;
    p.bytes = "\x01\x05\x30\x31";
    const std::string block = pcapng::enhancedPacketBlock(p);
    EXPECT_EQ(block.size(), 12u + 20 + 4);
    EXPECT_TRUE(readPacket(readBlocks(block).at(0)).options.empty());
}

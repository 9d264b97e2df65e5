#include "protocol/framing.h"
#include "protocol/hex.h"

#include <gtest/gtest.h>

using namespace lmx;

TEST(Crc16, PublishedXmodemVectorsAndStepsMatchTheWholeString)
{
    EXPECT_EQ(crc16("123456789"), 0x31C3); // the check value
    EXPECT_EQ(crc16("A"), 0x58E5);
    EXPECT_EQ(crc16(""), 0x0000);
    EXPECT_EQ(crc16(std::string(4, '\0')), 0x0000); // no initial or final XOR

    uint16_t reg = 0;
    for (char c : std::string("123456789"))
        crcStep(static_cast<uint8_t>(c), reg);
    EXPECT_EQ(reg, 0x31C3);
    EXPECT_EQ(crc16("56789", crc16("1234")), 0x31C3); // the register carries over
}

TEST(ExtendedPacket, WorkedExamplesByteForByteThenFieldsAndLimits)
{
    EXPECT_EQ(buildExtendedPacket(1, 0, "\x1B\xA0" "1").value_or(""),
              "\x01\x05" "01FE0003" "\x1B\xA0" "1" "CD43" "\x04");
    EXPECT_EQ(buildExtendedPacket(0x12, 0x41, "Hello").value_or(""),
              "\x01\x05" "12ED4105" "Hello" "22A1" "\x04");

    // empty data: start, type, eight header characters, four CRC characters and the end
    // byte, 15 bytes in all, as the worked example (18 bytes with 3 data bytes) shows; the
    // CRC covers the type byte and the header only
    const auto empty = buildExtendedPacket(0, 0, "");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->size(), 15u);
    EXPECT_EQ(empty->substr(10, 4), toHex(crc16("\x05" "00FF0000"), 4));
    EXPECT_EQ(empty->substr(2, 8), "00FF0000");
    EXPECT_EQ(buildExtendedPacket(255, 0, "")->substr(2, 4), "FF00");
    EXPECT_EQ(buildExtendedPacket(10, 0, "")->substr(2, 2), "0A"); // upper case
    // start and end bytes inside the data go out unchanged
    const auto raw = buildExtendedPacket(1, 0, "\x01\x04");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->substr(10, 2), "\x01\x04");
    EXPECT_EQ(buildExtendedPacket(1, 0, std::string(255, 'x'))->size(), 270u);

    EXPECT_FALSE(buildExtendedPacket(256, 0, ""));
    EXPECT_FALSE(buildExtendedPacket(-1, 0, ""));
    EXPECT_FALSE(buildExtendedPacket(1, 256, ""));
    EXPECT_FALSE(buildExtendedPacket(1, 0, std::string(256, 'x')));
}

TEST(NormalPacket, ShapeOfADisplayBlock)
{
    EXPECT_EQ(*buildNormalPacket(0x1A, "Hi"), "\x01" "1A" "Hi" "\x04");
    EXPECT_EQ(*buildNormalPacket(0, ""), "\x01" "00" "\x04");
    EXPECT_FALSE(buildNormalPacket(256, "x"));
}

TEST(PacketNumber, PositionBitsAndSequence)
{
    // {k, count, number}; the sequence wraps from 63 to 0.
    const int cases[][3] = {{0, 2, 0x40}, {1, 2, 0x81}, {0, 3, 0x40}, {1, 3, 0xC1},
                            {2, 3, 0x82}, {63, 65, 0xFF}, {64, 65, 0x80}};
    for (const auto& c : cases)
        EXPECT_EQ(packetNumberOf(c[0], c[1]), c[2]) << c[0] << " of " << c[1];
}

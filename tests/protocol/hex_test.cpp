#include "protocol/hex.h"

#include <gtest/gtest.h>

using namespace lmx;

TEST(HexText, OfCommandLines)
{
    EXPECT_EQ(hexTextOfCommandLine("\x1B\xA0" "1"), "1B A0 31 ");
    EXPECT_EQ(hexTextOfCommandLine("\x09\x1B\xA0" "1"), "1B A0 31 ");
    EXPECT_EQ(hexTextOfCommandLine("\x10\x22\x33"), "22 33 ");
    EXPECT_EQ(hexTextOfCommandLine("A"), "41 ");
    EXPECT_EQ(hexTextOfCommandLine(""), "");
    EXPECT_EQ(hexTextOfCommandLine("<End>"), "<End>");
    // only the first marker byte is dropped; raw 09 and 10 further on are shown
    EXPECT_EQ(hexTextOfCommandLine("\x10\x09\x10"), "09 10 ");
    EXPECT_EQ(hexTextOfCommandLine(std::string("\x00\xFF", 2)), "00 FF ");
}

TEST(HexText, ToBytes)
{
    std::string bytes = "untouched";
    EXPECT_TRUE(hexTextToBytes("22 33 AA", bytes));
    EXPECT_EQ(bytes, "\x22\x33\xAA");
    EXPECT_TRUE(hexTextToBytes("a0ff", bytes));
    EXPECT_EQ(bytes, "\xA0\xFF");
    EXPECT_TRUE(hexTextToBytes("1 2 3 4", bytes));
    EXPECT_EQ(bytes, "\x12\x34");
    EXPECT_TRUE(hexTextToBytes("", bytes));
    EXPECT_EQ(bytes, "");
    EXPECT_TRUE(hexTextToBytes("   ", bytes));
    EXPECT_EQ(bytes, "");

    bytes = "untouched";
    EXPECT_FALSE(hexTextToBytes("2 23", bytes)); // three digits: never guessed
    EXPECT_FALSE(hexTextToBytes("223", bytes));
    EXPECT_FALSE(hexTextToBytes("ABC", bytes));
    EXPECT_FALSE(hexTextToBytes("GG", bytes));
    EXPECT_FALSE(hexTextToBytes("0x12", bytes));
    EXPECT_FALSE(hexTextToBytes("12\t34", bytes));
    EXPECT_EQ(bytes, "untouched"); // a failed conversion yields nothing
}

TEST(HexText, Normalised)
{
    EXPECT_EQ(normalisedHexText("\x12\x34"), "12 34");
    EXPECT_EQ(normalisedHexText(""), "");
}

TEST(HexFields, SingleFieldConversions)
{
    uint8_t b = 0;
    EXPECT_TRUE(hexToByte("7f", b));
    EXPECT_EQ(b, 0x7F);
    EXPECT_TRUE(hexToByte("FF", b));
    EXPECT_EQ(b, 0xFF);
    EXPECT_FALSE(hexToByte("F", b));
    EXPECT_FALSE(hexToByte("FFF", b));
    EXPECT_FALSE(hexToByte("G0", b));
    EXPECT_FALSE(hexToByte(" 1", b));
    EXPECT_FALSE(hexToByte("-1", b));

    uint16_t w = 0;
    EXPECT_TRUE(hexToWord("B79A", w));
    EXPECT_EQ(w, 0xB79A);
    EXPECT_FALSE(hexToWord("B79", w));

    long long v = 0;
    EXPECT_TRUE(hexToInt("7FF", v));
    EXPECT_EQ(v, 2047);
    EXPECT_FALSE(hexToInt("", v));
    EXPECT_FALSE(hexToInt("FFFFFFFFFFFFFFFFFF", v)); // overflow fails, never wraps
    EXPECT_TRUE(decToInt("05000", v));
    EXPECT_EQ(v, 5000);
    EXPECT_FALSE(decToInt("", v));
    EXPECT_FALSE(decToInt("5O00", v));
    EXPECT_FALSE(decToInt("-1", v));
    EXPECT_FALSE(decToInt("99999999999999999999", v));
    EXPECT_TRUE(decInRange("255", 0, 255, v) && !decInRange("256", 0, 255, v));
    EXPECT_FALSE(decInRange("0000000001", 0, 255, v)); // a command line option: 9 digits at most
}

TEST(HexFields, ByteAndFixedWidthText)
{
    EXPECT_EQ(byteToHex(0x0A), "0A");
    EXPECT_EQ(byteToHex(0x00), "00");
    EXPECT_EQ(byteToHex(0xFF), "FF");
    EXPECT_EQ(toHex(0x31C3, 4), "31C3");
    EXPECT_EQ(toHex(8, 2), "08");
    EXPECT_EQ(toHex(-1, 3), "FFF");
}

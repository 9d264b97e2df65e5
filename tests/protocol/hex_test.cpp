#include "protocol/hex.h"

#include <gtest/gtest.h>

using namespace lmx;

TEST(Hex, TextsOfCommandLinesBytesAndSingleFieldsBothWays)
{
    // Only the first marker byte is dropped; raw 09 and 10 further on are shown.
    const std::pair<std::string, const char*> cases[] = {
        {"\x1B\xA0" "1", "1B A0 31 "}, {"\x09\x1B\xA0" "1", "1B A0 31 "}, {"\x10\x22\x33", "22 33 "},
        {"A", "41 "}, {"", ""}, {"<End>", "<End>"}, {"\x10\x09\x10", "09 10 "},
        {std::string("\x00\xFF", 2), "00 FF "}};
    for (const auto& [line, text] : cases)
        EXPECT_EQ(hexTextOfCommandLine(line), text) << text;

    const std::pair<const char*, const char*> good[] = {
        {"22 33 AA", "\x22\x33\xAA"}, {"a0ff", "\xA0\xFF"}, {"1 2 3 4", "\x12\x34"}, {"", ""}, {"   ", ""}};
    std::string bytes;
    for (const auto& [text, expected] : good) {
        EXPECT_TRUE(hexTextToBytes(text, bytes)) << text;
        EXPECT_EQ(bytes, expected) << text;
    }
    // Three digits are never guessed; a failed conversion yields nothing.
    for (const char* bad : {"2 23", "223", "ABC", "GG", "0x12", "12\t34"}) {
        bytes = "untouched";
        EXPECT_FALSE(hexTextToBytes(bad, bytes)) << bad;
        EXPECT_EQ(bytes, "untouched") << bad;
    }
    EXPECT_EQ(normalisedHexText("\x12\x34"), "12 34");
    EXPECT_EQ(normalisedHexText(""), "");

    // single fields
    uint8_t b = 0;
    EXPECT_TRUE(hexToByte("7f", b) && b == 0x7F);
    EXPECT_TRUE(hexToByte("FF", b) && b == 0xFF);
    for (const char* bad : {"F", "FFF", "G0", " 1", "-1"})
        EXPECT_FALSE(hexToByte(bad, b)) << bad;

    uint16_t w = 0;
    EXPECT_TRUE(hexToWord("B79A", w) && w == 0xB79A);
    EXPECT_FALSE(hexToWord("B79", w));

    long long v = 0;
    EXPECT_TRUE(hexToInt("7FF", v) && v == 2047);
    EXPECT_FALSE(hexToInt("", v));
    EXPECT_FALSE(hexToInt("FFFFFFFFFFFFFFFFFF", v)); // overflow fails, never wraps
    EXPECT_TRUE(decToInt("05000", v) && v == 5000);
    for (const char* bad : {"", "5O00", "-1", "99999999999999999999"})
        EXPECT_FALSE(decToInt(bad, v)) << bad;
    EXPECT_TRUE(decInRange("255", 0, 255, v) && !decInRange("256", 0, 255, v));
    EXPECT_FALSE(decInRange("0000000001", 0, 255, v)); // a command line option: 9 digits at most
    EXPECT_EQ(byteToHex(0x0A) + byteToHex(0x00) + byteToHex(0xFF), "0A00FF");
    EXPECT_EQ(toHex(0x31C3, 4) + toHex(8, 2) + toHex(-1, 3), "31C308FFF");
}

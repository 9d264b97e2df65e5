#include "protocol/hex.h"
#include "protocol/vocabulary.h"

#include <gtest/gtest.h>

using namespace lmx;

TEST(EscapeName, NamedUnnamedAndInquiries)
{
    EXPECT_EQ(escapeName(0x80), "ESC Delete");
    EXPECT_EQ(escapeName(0x81), "ESC $81");
    EXPECT_EQ(escapeName(0xA6), "ESC $A6"); // inquiries are looked up by their number
    EXPECT_EQ(escapeName(1), "ESC Inquiry1");
    EXPECT_EQ(escapeName(3), "ESC Inquiry3");
    EXPECT_EQ(escapeName(4), "ESC Inquiry4");
    EXPECT_EQ(escapeName(5), "ESC $05");
    EXPECT_EQ(escapeName(0xE2), "ESC Hor. Pos.");
    EXPECT_EQ(escapeName(0xC4), "ESC Vert. Pos.");
    EXPECT_EQ(escapeName(0xE4), "ESC Conf.Display");
    EXPECT_EQ(escapeName(0xE6), "ESC Time/Date");
    EXPECT_EQ(escapeName(0xFF), "ESC $FF");
    EXPECT_EQ(escapeName(0xE3), "ESC $E3");
}

TEST(ParamKind, ByCommandByteRange)
{
    EXPECT_EQ(paramKindOf(0x00), ParamKind::Illegal);
    EXPECT_EQ(paramKindOf(0x7F), ParamKind::Illegal);
    EXPECT_EQ(paramKindOf(0x80), ParamKind::None);
    EXPECT_EQ(paramKindOf(0x9F), ParamKind::None);
    EXPECT_EQ(paramKindOf(0xA0), ParamKind::One);
    EXPECT_EQ(paramKindOf(0xBF), ParamKind::One);
    EXPECT_EQ(paramKindOf(0xC0), ParamKind::Two);
    EXPECT_EQ(paramKindOf(0xDF), ParamKind::Two);
    EXPECT_EQ(paramKindOf(0xE0), ParamKind::Eoc);
    EXPECT_EQ(paramKindOf(0xFF), ParamKind::Eoc);
}

TEST(ParamKind, FixedEocSizes)
{
    EXPECT_TRUE(isValidEocSize(0xE0, 16));
    EXPECT_TRUE(isValidEocSize(0xE0, 32));
    EXPECT_FALSE(isValidEocSize(0xE0, 20));
    EXPECT_TRUE(isValidEocSize(0xE1, 4));
    EXPECT_TRUE(isValidEocSize(0xE1, 6));
    EXPECT_FALSE(isValidEocSize(0xE1, 5));
    EXPECT_TRUE(isValidEocSize(0xE2, 3));
    EXPECT_FALSE(isValidEocSize(0xE2, 4));
    EXPECT_TRUE(isValidEocSize(0xE4, 34));
    EXPECT_TRUE(isValidEocSize(0xE5, 4));
    EXPECT_FALSE(isValidEocSize(0xE5, 3));
    EXPECT_TRUE(isValidEocSize(0xE6, 12));
    // others take any length of at least one character
    EXPECT_FALSE(hasFixedEocSize(0xE3));
    EXPECT_TRUE(isValidEocSize(0xE3, 1));
    EXPECT_TRUE(isValidEocSize(0xE3, 200));
    EXPECT_FALSE(isValidEocSize(0xE3, 0));
}

TEST(FontColour, ByStartOfDisplayText)
{
    EXPECT_EQ(fontColourOf("SOT '01'"), 0xFF0000u);
    EXPECT_EQ(fontColourOf("EOT"), 0xFF0000u);
    EXPECT_EQ(fontColourOf("STX '01'"), 0x3CAAFBu);
    EXPECT_EQ(fontColourOf("ETX"), 0x3CAAFBu);
    EXPECT_EQ(fontColourOf("SOP '01'"), 0x05C97Au);
    EXPECT_EQ(fontColourOf("EOP"), 0x05C97Au);
    EXPECT_EQ(fontColourOf("SOL '01'"), 0xC89806u);
    EXPECT_EQ(fontColourOf("EOL"), 0xC89806u);
    EXPECT_EQ(fontColourOf("FPACK '05000'"), 0x375FA8u);
    EXPECT_EQ(fontColourOf("NPACK '00000'"), 0x375FA8u);
    EXPECT_EQ(fontColourOf("SEP"), 0x184BA0u);
    EXPECT_EQ(fontColourOf("ESC Font '1'"), 0x942578u);
    EXPECT_EQ(fontColourOf("'SOT'"), 0x942578u); // text, even when it holds a tag
    EXPECT_EQ(fontColourOf(""), 0x942578u);
    EXPECT_EQ(fontColourOf("SO"), 0x942578u);
}

TEST(LineBuilders, ControlLines)
{
    EXPECT_EQ(blockStartLine(BlockKind::Display, "01"), (CommandEntry{"SOT '01'", "\x01" "01"}));
    EXPECT_EQ(blockStartLine(BlockKind::Message, "0A"), (CommandEntry{"STX '0A'", "\x02" "0A"}));
    EXPECT_EQ(blockStartLine(BlockKind::Page, "03"), (CommandEntry{"SOP '03'", "\x0E" "03"}));
    EXPECT_EQ(blockStartLine(BlockKind::Line, "64"), (CommandEntry{"SOL '64'", "\x0A" "64"}));
    EXPECT_EQ(blockEndLine(BlockKind::Display), (CommandEntry{"EOT", "\x04"}));
    EXPECT_EQ(blockEndLine(BlockKind::Message), (CommandEntry{"ETX", "\x03"}));
    EXPECT_EQ(blockEndLine(BlockKind::Page), (CommandEntry{"EOP", "\x0F"}));
    EXPECT_EQ(blockEndLine(BlockKind::Line), (CommandEntry{"EOL", "\x0D"}));
    EXPECT_EQ(separatorLine(), (CommandEntry{"SEP", "\x1E"}));
    EXPECT_EQ(endLine(), (CommandEntry{"<End>", "<End>"}));
    EXPECT_STREQ(blockInfo(BlockKind::Page).numberCaption, "Hex. Page Number");
}

TEST(LineBuilders, PacketBreaksHaveFiveDigits)
{
    EXPECT_EQ(waitDigits(250), "00250");
    EXPECT_EQ(waitDigits(0), "00000");
    EXPECT_EQ(waitDigits(10000), "10000");
    EXPECT_EQ(breakLine(false, waitDigits(250)), (CommandEntry{"FPACK '00250'", "\x07" "00250"}));
    EXPECT_EQ(breakLine(true, "05000"), (CommandEntry{"NPACK '05000'", "\x08" "05000"}));
}

TEST(LineBuilders, TextAndHex)
{
    EXPECT_EQ(textLine("Hello"), (CommandEntry{"'Hello'", "Hello"}));
    EXPECT_EQ(textLine(""), (CommandEntry{"''", ""}));
    EXPECT_EQ(hexLine("22 33", "\x22\x33"), (CommandEntry{"HEX '22 33'", "\x10\x22\x33"}));
}

TEST(LineBuilders, EscapeCommandsOfEachRange)
{
    EXPECT_EQ(escapeLine(0x80, ""), (CommandEntry{"ESC Delete", "\x1B\x80"}));
    EXPECT_EQ(escapeLine(0xA0, "1"), (CommandEntry{"ESC Font '1'", "\x1B\xA0" "1"}));
    EXPECT_EQ(escapeLine(0xC4, signedParam(-128, 2)),
              (CommandEntry{"ESC Vert. Pos. '80'", "\x1B\xC4" "80"}));
    EXPECT_EQ(escapeLine(0xE2, signedParam(-1, 3)),
              (CommandEntry{"ESC Hor. Pos. 'FFF' EOC", "\x1B\xE2" "FFF\x0C"}));
    EXPECT_EQ(escapeLine(0xE3, "12"), (CommandEntry{"ESC $E3 '12' EOC", "\x1B\xE3" "12\x0C"}));
    EXPECT_EQ(inquiryLine(3), (CommandEntry{"ESC Inquiry3", "\x1B\xA6" "3"}));
}

TEST(LineBuilders, KeyBoundCommands)
{
    EXPECT_EQ(keyLine("Key 2", 0xC5, "AB"), (CommandEntry{"ESC Key 2 'AB'", "\x09\x1B\xC5" "AB"}));
    EXPECT_EQ(keyLine("Key 1", 0xE3, "12"),
              (CommandEntry{"ESC Key 1 '12' EOC", "\x09\x1B\xE3" "12\x0C"}));
    EXPECT_EQ(keyLine("Key 1", 0x85, ""), (CommandEntry{"ESC Key 1", "\x09\x1B\x85"}));
    // the key prefix is not part of the hex box text
    EXPECT_EQ(hexTextOfCommandLine(keyLine("F1", 0xA0, "1").commandLine),
              hexTextOfCommandLine(escapeLine(0xA0, "1").commandLine));
}

TEST(LineBuilders, SignedParametersAreTwosComplement)
{
    EXPECT_EQ(signedParam(-1, 3), "FFF");
    EXPECT_EQ(signedParam(-2048, 3), "800");
    EXPECT_EQ(signedParam(2047, 3), "7FF");
    EXPECT_EQ(signedParam(-128, 2), "80");
    EXPECT_EQ(signedParam(-1, 2), "FF");
    EXPECT_EQ(signedParam(127, 2), "7F");
    EXPECT_EQ(signedParam(0, 2), "00");
}

TEST(LineSizeLimit, CutsInsideTheApostrophesAbove1333)
{
    const std::string x1332(1332, 'x'), x3000(3000, 'x'), hex(1400, 'A'), aa663(663, '\xAA');
    struct Case {
        CommandEntry line, cut;
    } cases[] = {
        {textLine(std::string(1331, 'x')), textLine(std::string(1331, 'x'))}, // 1333: whole
        {textLine(x1332), textLine(x1332.substr(1))},
        {textLine(x3000 + "\x0C"), textLine(x3000.substr(0, 1331))},
        {escapeLine(0xE3, x3000), escapeLine(0xE3, x3000.substr(0, 1319))},
        {keyLine("F1", 0xE3, x3000 + "\x0C"), keyLine("F1", 0xE3, x3000.substr(0, 1320))},
        // a HEX text keeps whole byte pairs; a blank counts as a character
        {hexLine(hex, std::string(700, '\xAA')), hexLine(hex.substr(0, 1326), aa663)},
        {hexLine(" A" + hex, std::string(701, '\xAA')), hexLine(" A" + hex.substr(0, 1325), aa663)},
        {hexLine(std::string(1400, ' ') + "AB", "\xAB"), hexLine("AB", "\xAB")},
        // any other form is cut at 1333 in both strings; a short command line stays whole
        {{x3000, x3000}, {x3000.substr(0, 1333), x3000.substr(0, 1333)}},
        {{x3000, "abc"}, {x3000.substr(0, 1333), "abc"}},
    };
    for (const Case& c : cases) {
        CommandEntry e = c.line;
        const bool cut = applyLineSizeLimit(e.displayText, e.commandLine);
        EXPECT_EQ(cut, c.line.displayText.size() > 1333);
        EXPECT_EQ(e, c.cut) << c.line.displayText.substr(0, 20);
        EXPECT_LE(e.displayText.size(), 1333u);
    }
    // the hex text of 1333 bytes fits the 4000 character budget
    EXPECT_EQ(hexTextOfCommandLine(std::string(1333, 'a')).size(), 3999u);
}

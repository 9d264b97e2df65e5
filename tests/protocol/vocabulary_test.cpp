#include "protocol/hex.h"
#include "protocol/vocabulary.h"

#include <gtest/gtest.h>

using namespace lmx;

TEST(EscapeCommands, NamesParameterKindsAndFixedEocSizes)
{
    // Inquiries are looked up by their number; $A6 itself has no name.
    const std::pair<unsigned, const char*> names[] = {
        {0x80, "ESC Delete"}, {0x81, "ESC $81"}, {0xA6, "ESC $A6"}, {1, "ESC Inquiry1"},
        {4, "ESC Inquiry4"}, {5, "ESC $05"}, {0xE2, "ESC Hor. Pos."}, {0xC4, "ESC Vert. Pos."},
        {0xE4, "ESC Conf.Display"}, {0xE6, "ESC Time/Date"}, {0xFF, "ESC $FF"}, {0xE3, "ESC $E3"}};
    for (const auto& [code, name] : names)
        EXPECT_EQ(escapeName(code), name) << code;

    // the parameters by command byte range, and the fixed EOC sizes
    const std::pair<uint8_t, ParamKind> kinds[] = {
        {0x00, ParamKind::Illegal}, {0x7F, ParamKind::Illegal}, {0x80, ParamKind::None},
        {0x9F, ParamKind::None},    {0xA0, ParamKind::One},     {0xBF, ParamKind::One},
        {0xC0, ParamKind::Two},     {0xDF, ParamKind::Two},     {0xE0, ParamKind::Eoc},
        {0xFF, ParamKind::Eoc}};
    for (const auto& [code, kind] : kinds)
        EXPECT_EQ(paramKindOf(code), kind) << int(code);

    // $E3 has no fixed size: any length of at least one character.
    const std::tuple<uint8_t, size_t, bool> sizes[] = {
        {0xE0, 16, true}, {0xE0, 32, true}, {0xE0, 20, false}, {0xE1, 4, true},  {0xE1, 6, true},
        {0xE1, 5, false}, {0xE2, 3, true},  {0xE2, 4, false},  {0xE4, 34, true}, {0xE5, 4, true},
        {0xE5, 3, false}, {0xE6, 12, true}, {0xE3, 1, true},   {0xE3, 200, true}, {0xE3, 0, false}};
    for (const auto& [code, size, valid] : sizes)
        EXPECT_EQ(isValidEocSize(code, size), valid) << int(code) << " " << size;
    EXPECT_FALSE(hasFixedEocSize(0xE3));
}

TEST(FontColour, ByStartOfDisplayText)
{
    // Text is text even when it holds a tag.
    const std::pair<const char*, unsigned> colours[] = {
        {"SOT '01'", 0xFF0000}, {"EOT", 0xFF0000},      {"STX '01'", 0x3CAAFB},
        {"ETX", 0x3CAAFB},      {"SOP '01'", 0x05C97A}, {"EOP", 0x05C97A},
        {"SOL '01'", 0xC89806}, {"EOL", 0xC89806},      {"FPACK '05000'", 0x375FA8},
        {"NPACK '00000'", 0x375FA8}, {"SEP", 0x184BA0}, {"ESC Font '1'", 0x942578},
        {"'SOT'", 0x942578},    {"", 0x942578},         {"SO", 0x942578}};
    for (const auto& [text, colour] : colours)
        EXPECT_EQ(fontColourOf(text), colour) << text;
}

TEST(LineBuilders, DisplayTextAndCommandLineOfEachKind)
{
    const std::pair<CommandEntry, CommandEntry> lines[] = {
        {blockStartLine(BlockKind::Display, "01"), {"SOT '01'", "\x01" "01"}},
        {blockStartLine(BlockKind::Message, "0A"), {"STX '0A'", "\x02" "0A"}},
        {blockStartLine(BlockKind::Page, "03"), {"SOP '03'", "\x0E" "03"}},
        {blockStartLine(BlockKind::Line, "64"), {"SOL '64'", "\x0A" "64"}},
        {blockEndLine(BlockKind::Display), {"EOT", "\x04"}},
        {blockEndLine(BlockKind::Message), {"ETX", "\x03"}},
        {blockEndLine(BlockKind::Page), {"EOP", "\x0F"}},
        {blockEndLine(BlockKind::Line), {"EOL", "\x0D"}},
        {separatorLine(), {"SEP", "\x1E"}},
        {endLine(), {"<End>", "<End>"}},
        // packet breaks have five digits
        {breakLine(false, waitDigits(250)), {"FPACK '00250'", "\x07" "00250"}},
        {breakLine(true, "05000"), {"NPACK '05000'", "\x08" "05000"}},
        {textLine("Hello"), {"'Hello'", "Hello"}},
        {textLine(""), {"''", ""}},
        {hexLine("22 33", "\x22\x33"), {"HEX '22 33'", "\x10\x22\x33"}},
        // escape commands of each range
        {escapeLine(0x80, ""), {"ESC Delete", "\x1B\x80"}},
        {escapeLine(0xA0, "1"), {"ESC Font '1'", "\x1B\xA0" "1"}},
        {escapeLine(0xC4, signedParam(-128, 2)), {"ESC Vert. Pos. '80'", "\x1B\xC4" "80"}},
        {escapeLine(0xE2, signedParam(-1, 3)), {"ESC Hor. Pos. 'FFF' EOC", "\x1B\xE2" "FFF\x0C"}},
        {escapeLine(0xE3, "12"), {"ESC $E3 '12' EOC", "\x1B\xE3" "12\x0C"}},
        {inquiryLine(3), {"ESC Inquiry3", "\x1B\xA6" "3"}},
        // commands bound to a key
        {keyLine("Key 2", 0xC5, "AB"), {"ESC Key 2 'AB'", "\x09\x1B\xC5" "AB"}},
        {keyLine("Key 1", 0xE3, "12"), {"ESC Key 1 '12' EOC", "\x09\x1B\xE3" "12\x0C"}},
        {keyLine("Key 1", 0x85, ""), {"ESC Key 1", "\x09\x1B\x85"}},
    };
    for (const auto& [line, expected] : lines)
        EXPECT_EQ(line, expected) << expected.displayText;
    EXPECT_EQ(waitDigits(0) + waitDigits(10000), "0000010000");
    // the key prefix is not part of the hex box text
    EXPECT_EQ(hexTextOfCommandLine(keyLine("F1", 0xA0, "1").commandLine),
              hexTextOfCommandLine(escapeLine(0xA0, "1").commandLine));

    // signed parameters are two's complement
    const std::tuple<int, int, const char*> cases[] = {{-1, 3, "FFF"}, {-2048, 3, "800"},
        {2047, 3, "7FF"}, {-128, 2, "80"}, {-1, 2, "FF"}, {127, 2, "7F"}, {0, 2, "00"}};
    for (const auto& [value, digits, text] : cases)
        EXPECT_EQ(signedParam(value, digits), text) << value;
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

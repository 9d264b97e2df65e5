#include "dialogs/ask_data_rules.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

AskValueRequest font() { return {AskMode::InsertHex1, "Hex. Font number", 9, 1, 0, {}, false}; }
AskValueRequest vertPos() { return {AskMode::InsertHex2, "Hex. Vertical Position ", 127, 0, -128, {}, false}; }
AskValueRequest horPos() { return {AskMode::InsertHex3, "Hex. Horizontal Position ", 2047, 0, -2048, {}, false}; }

AskDataRules opened(const AskValueRequest& r)
{
    AskDataRules rules;
    EXPECT_TRUE(rules.open(r));
    return rules;
}

// Types one character as the field would: a refused key changes nothing.
bool typeKey(AskDataRules& rules, char c)
{
    const KeyOutcome k = rules.key(c);
    if (k.accepted)
        rules.setText(rules.text() + k.ch);
    return k.accepted;
}

} // namespace

TEST(AskDataPrefill, EditModesTakeTheirTextFromTheDisplayText)
{
    // The last three: hand-edited lines without an apostrophe, or without a closing one.
    const std::tuple<AskMode, const char*, const char*> cases[] = {
        {AskMode::ByteCommand, "ESC $E3 '12' EOC", "12"}, {AskMode::EditText, "'Hello'", "Hello"},
        {AskMode::EditText, "''", ""},                    {AskMode::EditHex1, "ESC Font '7'", "7"},
        {AskMode::EditHex2, "SOP '03'", "03"},  {AskMode::EditHex3, "ESC Hor. Pos. 'FFF' EOC", "FFF"},
        {AskMode::EditHex2, "SOP 03", ""}, {AskMode::ByteCommand, "ESC $B0 '5", "5"},
        {AskMode::EditText, "'", ""}};
    for (const auto& [mode, line, text] : cases)
        EXPECT_EQ(prefillText(mode, line), text) << line;
    EXPECT_EQ(prefillText(AskMode::EditText, "T=@@", true), "T=@@");
    EXPECT_TRUE(marksEoc("ESC $E3 '12' EOC"));
    EXPECT_FALSE(marksEoc("ESC $C9 '12'"));
}

TEST(AskDataSetup, EachModeSetsTypeLengthSpinAndInitialText)
{
    struct Row { AskMode mode; AskDataRules::FieldType type; int maxLength; bool spin; const char* text; };
    const Row rows[] = {
        {AskMode::InsertText, AskDataRules::FieldType::Text, 0, false, ""},
        {AskMode::InsertHex1, AskDataRules::FieldType::Hex, 1, true, "5"},
        {AskMode::InsertHex2, AskDataRules::FieldType::Hex, 2, true, "05"},
        {AskMode::InsertHex3, AskDataRules::FieldType::Hex, 3, true, "005"},
        {AskMode::EditText, AskDataRules::FieldType::Text, 0, false, "abcd"},
        {AskMode::EditHex1, AskDataRules::FieldType::Hex, 1, true, "A"},
        {AskMode::EditHex2, AskDataRules::FieldType::Hex, 2, true, "AB"},
        {AskMode::EditHex3, AskDataRules::FieldType::Hex, 3, true, "ABC"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.mode));
        AskDataRules r = opened({row.mode, "c", 0xFFF, 5, 0, "abcd", false});
        EXPECT_EQ(r.fieldType(), row.type);
        EXPECT_EQ(r.maxLength(), row.maxLength);
        EXPECT_EQ(r.spinVisible(), row.spin);
        EXPECT_EQ(r.text(), row.text);
    }
    // One digit with a negative minimum starts at "0"; more digits show the two's complement.
    EXPECT_EQ(opened({AskMode::InsertHex1, "c", 7, 3, -8, {}, false}).text(), "0");
    EXPECT_EQ(opened({AskMode::InsertHex2, "c", 127, -1, -128, {}, false}).text(), "FF");

    AskDataRules r;
    EXPECT_FALSE(r.open({static_cast<AskMode>(9), "c", 0, 0, 0, {}, false}));
    EXPECT_FALSE(r.open({static_cast<AskMode>(-1), "c", 0, 0, 0, {}, false}));
}

TEST(AskDataKeys, HexFieldsUpperCaseAndRefuseOthers)
{
    AskDataRules r = opened(font());
    r.setText("");
    EXPECT_TRUE(typeKey(r, 'a'));
    EXPECT_EQ(r.text(), "A"); // accepted as a digit, refused by the range
    EXPECT_FALSE(r.okEnabled());
    r.setText("");
    EXPECT_FALSE(typeKey(r, 'g') || typeKey(r, ' ') || typeKey(r, '-'));
    EXPECT_TRUE(r.key(keychar::Backspace).accepted && r.key(keychar::Enter).accepted);
    EXPECT_TRUE(typeKey(r, '7'));
    EXPECT_TRUE(r.okEnabled());
}

TEST(AskDataKeys, ByteCommandsUpperCaseLettersButKeepOtherText)
{
    AskDataRules bytes = opened({AskMode::ByteCommand, "Byte Command", 0, 0, 0, "1\xE9", true});
    bytes.setText("");
    EXPECT_TRUE(typeKey(bytes, 'b'));
    EXPECT_TRUE(typeKey(bytes, '\xE9')); // only ASCII letters change case
    EXPECT_FALSE(typeKey(bytes, '\''));
    EXPECT_EQ(bytes.text(), "B\xE9");
    // What the line holds is shown and kept: only the letters typed or pasted become capitals.
    AskDataRules kept = opened({AskMode::ByteCommand, "Byte Command", 0, 0, 0, "ab", true});
    EXPECT_EQ(kept.result().raw, "ab");
    kept.setText("axb");
    EXPECT_EQ(kept.text(), "aXb");
}

TEST(AskDataOk, TextIsAlwaysAcceptedButAPastedApostropheIsNot)
{
    AskDataRules r = opened({AskMode::InsertText, "c", 0, 0, 0, {}, false});
    EXPECT_TRUE(r.okEnabled());
    const AskResult empty = r.result();
    EXPECT_TRUE(empty.confirmed);
    EXPECT_EQ(empty.quoted, "''");
    r.setText("it's");
    EXPECT_FALSE(r.okEnabled());
    EXPECT_FALSE(r.result().confirmed);
}

TEST(AskDataOk, ByteCommandKeepsItsLengthUnlessEoc)
{
    AskDataRules fixed = opened({AskMode::ByteCommand, "Byte Command", 0, 0, 0, "12", false});
    EXPECT_EQ(fixed.maxLength(), 2);
    EXPECT_TRUE(fixed.okEnabled());
    fixed.setText("1");
    EXPECT_FALSE(fixed.okEnabled());
    fixed.setText("ab");
    EXPECT_EQ(fixed.text(), "AB");
    EXPECT_TRUE(fixed.okEnabled());
    fixed.setText("ABC"); // cut to the entry length
    EXPECT_EQ(fixed.text(), "AB");

    AskDataRules eoc = opened({AskMode::ByteCommand, "Byte Command", 0, 0, 0, "12", true});
    EXPECT_EQ(eoc.maxLength(), 0);
    eoc.setText("1234");
    EXPECT_TRUE(eoc.okEnabled());
    EXPECT_EQ(eoc.result().quoted, "'1234'");
    eoc.setText("");
    EXPECT_FALSE(eoc.okEnabled());
}

TEST(AskDataOk, UnsignedHexNeedsAllDigitsAndTheRange)
{
    AskDataRules appear = opened({AskMode::InsertHex2, "Hex. Appear Number", 0x99, 0, 0, {}, false});
    const std::pair<const char*, bool> texts[] = {{"99", true}, {"9A", false}, {"9", false}};
    for (const auto& [text, ok] : texts) {
        appear.setText(text);
        EXPECT_EQ(appear.okEnabled(), ok) << text;
    }
    AskDataRules size = opened({AskMode::InsertHex1, "Hex. Horizontal Size", 15, 1, 1, {}, false});
    size.setText("0");
    EXPECT_FALSE(size.okEnabled());
    size.setText("f");
    EXPECT_EQ(size.text(), "F");
    EXPECT_TRUE(size.okEnabled());
}

TEST(AskDataSigned, TwosComplementDigitsAndTheRangeMessage)
{
    AskDataRules v = opened(vertPos());
    EXPECT_TRUE(v.isSigned());
    EXPECT_EQ(v.message(), "Value between F80h (-128) and 07Fh (127)");
    v.setText("80");
    EXPECT_TRUE(v.okEnabled());
    const AskResult r = v.result();
    EXPECT_EQ(r.raw, "80");
    EXPECT_EQ(r.quoted, "'80'");
    v.setText("8");
    EXPECT_FALSE(v.okEnabled());

    AskDataRules h = opened(horPos());
    EXPECT_EQ(h.message(), "Value between 800h (-2048) and 7FFh (2047)");
    EXPECT_FALSE(opened(font()).isSigned());
    EXPECT_EQ(opened(font()).message(), "");
}

TEST(AskDataSpin, SignedFieldWrapsThroughTwosComplementAndStopsAtTheBounds)
{
    AskDataRules h = opened(horPos());
    h.setText("7FF");
    h.spinUp();
    EXPECT_EQ(h.text(), "7FF");
    EXPECT_EQ(h.message(), "MaxValue = 7FFh (2047)");
    h.setText("000");
    h.spinDown();
    EXPECT_EQ(h.text(), "FFF");
    h.spinUp();
    EXPECT_EQ(h.text(), "000");
    h.setText("800");
    h.spinDown();
    EXPECT_EQ(h.text(), "800");
    EXPECT_EQ(h.message(), "MinValue = 800h (-2048)");
    h.spinUp();
    EXPECT_EQ(h.text(), "801");

    AskDataRules v = opened(vertPos());
    v.setText("7F");
    v.spinUp();
    EXPECT_EQ(v.text(), "7F");
    EXPECT_EQ(v.message(), "MaxValue = 7Fh (127)");
}

TEST(AskDataSpin, UnsignedFieldClampsAndResetsUnreadableText)
{
    AskDataRules f = opened(font());
    f.setText("8");
    f.spinUp();
    EXPECT_EQ(f.text(), "9");
    EXPECT_EQ(f.message(), "");
    f.spinUp();
    EXPECT_EQ(f.text(), "9");
    EXPECT_EQ(f.message(), "MaxValue = 9h (9)");
    f.setText("F"); // out of range: up brings it back to the maximum
    f.spinUp();
    EXPECT_EQ(f.text(), "9");
    f.setText("0");
    f.spinDown();
    EXPECT_EQ(f.text(), "0");
    EXPECT_EQ(f.message(), "MinValue = 0h (0)");
    f.spinUp();
    EXPECT_EQ(f.message(), "");

    AskDataRules s = opened({AskMode::InsertHex2, "Hex. Sound ", 255, 1, 0, {}, false});
    s.setText("");
    s.spinUp();
    EXPECT_EQ(s.text(), "00");
    s.setText("");
    s.spinDown();
    EXPECT_EQ(s.text(), "00");

    AskDataRules t = opened({AskMode::InsertText, "c", 0, 0, 0, {}, false});
    t.setText("abc");
    t.spinUp();
    t.spinDown();
    EXPECT_EQ(t.text(), "abc");
}

TEST(AskDataReuse, EveryOpeningStartsAfresh)
{
    AskDataRules r;
    ASSERT_TRUE(r.open(horPos()));
    r.setText("7FF");
    r.spinUp();
    ASSERT_TRUE(r.open({AskMode::EditHex2, "Hex. Page Number", 100, 1, 0, "03", false}));
    EXPECT_EQ(r.text(), "03");
    EXPECT_EQ(r.message(), "");
    EXPECT_FALSE(r.isSigned());
    EXPECT_EQ(r.caption(), "Hex. Page Number");
    r.setText("65");
    EXPECT_FALSE(r.okEnabled()); // 0x65 = 101 > 100
}

#include "dialogs/ask_data_rules.h"
#include "rules_steps.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace steps;

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

TEST(AskDataSetup, PrefillFromTheDisplayTextAndEachModeSetsTypeLengthSpinAndTextAfresh)
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

    // each mode sets the field's type, length, arrows and first text, afresh at every opening
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
    // Every opening starts afresh.
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

TEST(AskDataOk, TextIsAcceptedButNotAPastedApostropheAndHexNeedsAllDigitsAndTheRange)
{
    AskDataRules r = opened({AskMode::InsertText, "c", 0, 0, 0, {}, false});
    EXPECT_TRUE(r.okEnabled());
    const AskResult empty = r.result();
    EXPECT_TRUE(empty.confirmed);
    EXPECT_EQ(empty.quoted, "''");
    play(r, {type(0, "it's", nullptr, nullptr, Off)});
    EXPECT_FALSE(r.result().confirmed);

    // hex fields need all their digits and the range
    AskDataRules appear = opened({AskMode::InsertHex2, "Hex. Appear Number", 0x99, 0, 0, {}, false});
    play(appear, {type(0, "99", nullptr, nullptr, On), type(0, "9A", nullptr, nullptr, Off),
                  type(0, "9", nullptr, nullptr, Off)});
    AskDataRules size = opened({AskMode::InsertHex1, "Hex. Horizontal Size", 15, 1, 1, {}, false});
    play(size, {type(0, "0", nullptr, nullptr, Off), type(0, "f", "F", nullptr, On)});
}

TEST(AskDataByteCommand, UpperCasesLettersKeepsOtherTextAndItsLengthUnlessEoc)
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

    AskDataRules fixed = opened({AskMode::ByteCommand, "Byte Command", 0, 0, 0, "12", false});
    EXPECT_EQ(fixed.maxLength(), 2);
    EXPECT_TRUE(fixed.okEnabled());
    play(fixed, {type(0, "1", nullptr, nullptr, Off), type(0, "ab", "AB", nullptr, On),
                 type(0, "ABC", "AB")}); // cut to the entry length

    AskDataRules eoc = opened({AskMode::ByteCommand, "Byte Command", 0, 0, 0, "12", true});
    EXPECT_EQ(eoc.maxLength(), 0);
    play(eoc, {type(0, "1234", nullptr, nullptr, On)});
    EXPECT_EQ(eoc.result().quoted, "'1234'");
    play(eoc, {type(0, "", nullptr, nullptr, Off)});
}

TEST(AskDataSigned, TwosComplementDigitsTheRangeMessageAndTheArrows)
{
    AskDataRules v = opened(vertPos());
    EXPECT_TRUE(v.isSigned());
    EXPECT_EQ(v.message(), "Value between F80h (-128) and 07Fh (127)");
    play(v, {type(0, "80", nullptr, nullptr, On)});
    const AskResult r = v.result();
    EXPECT_EQ(r.raw, "80");
    EXPECT_EQ(r.quoted, "'80'");
    play(v, {type(0, "8", nullptr, nullptr, Off), type(0, "7F"),
             up(0, "7F", "MaxValue = 7Fh (127)")});
    AskDataRules h = opened(horPos());
    EXPECT_EQ(h.message(), "Value between 800h (-2048) and 7FFh (2047)");
    // The arrows wrap through the two's complement and stop at the bounds.
    play(h, {type(0, "7FF"), up(0, "7FF", "MaxValue = 7FFh (2047)"), type(0, "000"),
             down(0, "FFF"), up(0, "000"), type(0, "800"),
             down(0, "800", "MinValue = 800h (-2048)"), up(0, "801")});
    EXPECT_FALSE(opened(font()).isSigned());
    EXPECT_EQ(opened(font()).message(), "");
}

TEST(AskDataKeysAndSpin, HexFieldsUpperCaseRefuseOthersClampAndResetUnreadableText)
{
    AskDataRules f = opened(font());
    f.setText("");
    EXPECT_TRUE(typeKey(f, 'a'));
    EXPECT_EQ(f.text(), "A"); // accepted as a digit, refused by the range
    EXPECT_FALSE(f.okEnabled());
    f.setText("");
    EXPECT_FALSE(typeKey(f, 'g') || typeKey(f, ' ') || typeKey(f, '-'));
    EXPECT_TRUE(f.key(keychar::Backspace).accepted && f.key(keychar::Enter).accepted);
    EXPECT_TRUE(typeKey(f, '7'));
    EXPECT_TRUE(f.okEnabled());

    play(f, {type(0, "8"), up(0, "9", ""), up(0, "9", "MaxValue = 9h (9)"),
             type(0, "F"), up(0, "9"), // out of range: up brings it back to the maximum
             type(0, "0"), down(0, "0", "MinValue = 0h (0)"), up(0, nullptr, "")});
    AskDataRules s = opened({AskMode::InsertHex2, "Hex. Sound ", 255, 1, 0, {}, false});
    play(s, {type(0, ""), up(0, "00"), type(0, ""), down(0, "00")});
    AskDataRules t = opened({AskMode::InsertText, "c", 0, 0, 0, {}, false});
    play(t, {type(0, "abc"), up(0), down(0, "abc")});
}

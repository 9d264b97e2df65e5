#include "commands_support.h"

#include <gtest/gtest.h>

using lmx::TKeyDefinition;

namespace {

// Defines `key` as the dialog would: the entry at `index`, then `param` typed.
bool define(TKeyDefinition& key, int index, const std::string& param)
{
    KeyDefRules rules;
    rules.open(key);
    rules.chooseCommand(index);
    rules.setParamText(param);
    return rules.fill(key, KeyDefRules::entryText(index));
}

} // namespace

TEST(KeyDefRules, CommandListHoldsNoCommandThenEveryCodeFrom80)
{
    EXPECT_EQ(KeyDefRules::entryText(0), "$00");
    EXPECT_EQ(KeyDefRules::entryText(1), "$80");
    EXPECT_EQ(KeyDefRules::entryText(128), "$FF");
    EXPECT_EQ(KeyDefRules::entryText(129), "");
    for (int i = 1; i < KeyDefRules::kEntries; ++i) {
        uint8_t code = 0;
        ASSERT_TRUE(KeyDefRules::codeOfEntry(KeyDefRules::entryText(i), code));
        EXPECT_EQ(code, i + 0x7F);
    }
}

TEST(KeyDefRules, CodeRangeFixesTheParameter)
{
    struct Case {
        int code;
        int kind;
        const char* initial;
        bool enabled;
        int maxLength;
    };
    const Case cases[] = {{0x80, 0, "", false, 0}, {0x9F, 0, "", false, 0},
                          {0xA0, 1, "0", true, 1}, {0xBF, 1, "0", true, 1},
                          {0xC0, 2, "00", true, 2}, {0xDF, 2, "00", true, 2},
                          {0xE0, 3, "000", true, 0}, {0xFF, 3, "000", true, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        KeyDefRules rules;
        rules.open(TKeyDefinition("Key 1"));
        rules.chooseCommand(entryOf(c.code));
        EXPECT_EQ(rules.parameterKind(), c.kind);
        EXPECT_EQ(rules.paramText(), c.initial);
        EXPECT_EQ(rules.paramEnabled(), c.enabled);
        EXPECT_EQ(rules.paramMaxLength(), c.maxLength);
        EXPECT_TRUE(rules.okEnabled());
    }
    KeyDefRules none;
    none.open(TKeyDefinition("Key 1"));
    EXPECT_EQ(none.commandIndex(), 0);
    EXPECT_FALSE(none.paramEnabled());
    EXPECT_FALSE(none.okEnabled()); // $00 can never be confirmed
}

TEST(KeyDefRules, ParameterKeysAndPastedText)
{
    KeyDefRules rules;
    rules.open(TKeyDefinition("Key 1"));
    rules.chooseCommand(entryOf(0xE3));
    EXPECT_EQ(rules.key('a').ch, 'A');
    EXPECT_TRUE(rules.key('!').accepted);
    EXPECT_TRUE(rules.key('\xE9').accepted); // any character beyond ASCII too
    EXPECT_TRUE(rules.key(keychar::Backspace).accepted);
    EXPECT_TRUE(rules.key(keychar::Enter).accepted);
    EXPECT_FALSE(rules.key('\'').accepted);
    EXPECT_FALSE(rules.key('\x01').accepted);
    EXPECT_FALSE(rules.key('\t').accepted);

    // Pasted: upper-cased, refused characters dropped, so no apostrophe reaches the line.
    EXPECT_FALSE(rules.setParamText("a'b\tc"));
    EXPECT_EQ(rules.paramText(), "ABC");
    EXPECT_TRUE(rules.setParamText("x1"));
    EXPECT_EQ(rules.paramText(), "X1");

    rules.chooseCommand(entryOf(0xA7));
    rules.setParamText("XYZ");
    EXPECT_EQ(rules.paramText(), "X"); // cut to the entry length
    rules.setParamText("");
    EXPECT_FALSE(rules.paramValid());
    EXPECT_FALSE(rules.okEnabled());
    rules.chooseCommand(entryOf(0xC5));
    rules.setParamText("A");
    EXPECT_FALSE(rules.okEnabled());
}

TEST(KeyDefRules, OkFillsTheKeyByCodeRange)
{
    TKeyDefinition two("Key 2");
    ASSERT_TRUE(define(two, entryOf(0xC5), "ab"));
    EXPECT_EQ(two.ParamData, "AB");
    EXPECT_EQ(two.NParam, 2);
    EXPECT_EQ(two.CommandIndex, 70);
    EXPECT_EQ(hexOf(two.CommandHexData), "09 1B C5 41 42");
    EXPECT_EQ(two.CommandStr, "ESC Key 2 'AB'");
    EXPECT_EQ(two.ButtonCaption, "Key 2 = $C5");
    EXPECT_TRUE(two.Enabled);

    TKeyDefinition eoc("Key 1");
    ASSERT_TRUE(define(eoc, entryOf(0xE3), "12"));
    EXPECT_EQ(hexOf(eoc.CommandHexData), "09 1B E3 31 32 0C");
    EXPECT_EQ(eoc.CommandStr, "ESC Key 1 '12' EOC");
    EXPECT_EQ(eoc.NParam, 3);

    TKeyDefinition none("Key 1");
    ASSERT_TRUE(define(none, entryOf(0x85), "ignored"));
    EXPECT_EQ(none.NParam, 0);
    EXPECT_EQ(hexOf(none.CommandHexData), "09 1B 85");
    EXPECT_EQ(none.CommandStr, "ESC Key 1");
    EXPECT_EQ(none.ParamData, "");
}

TEST(KeyDefRules, UnreadableEntryLeavesTheKeyAlone)
{
    TKeyDefinition key("Key 3");
    KeyDefRules rules;
    rules.open(key);
    rules.chooseCommand(entryOf(0xA0));
    EXPECT_FALSE(rules.fill(key, "$G0"));
    EXPECT_EQ(key, TKeyDefinition("Key 3"));
    EXPECT_EQ(rules.title(), "Key Definition Dialog Key 3");
}

// A key bound by a command file opens with its command and parameter; Ok unchanged gives the
// same definition.
TEST(KeyDefRules, ReopenedKeyRoundTrips)
{
    TKeyDefinition bound("Key 4");
    ASSERT_TRUE(bound.SetFromCommand("ESC Key 4 'Q7' EOC", "\x09\x1B\xF0Q7\x0C", "Key 4 = $F0"));
    KeyDefRules rules;
    rules.open(bound);
    EXPECT_EQ(rules.commandIndex(), entryOf(0xF0));
    EXPECT_EQ(rules.paramText(), "Q7");
    TKeyDefinition again = bound;
    ASSERT_TRUE(rules.fill(again, KeyDefRules::entryText(rules.commandIndex())));
    EXPECT_EQ(again, bound);
}

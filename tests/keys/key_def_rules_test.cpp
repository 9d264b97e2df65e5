#include "tests/editor/commands_support.h"

#include <gtest/gtest.h>

using lmx::TKeyDefinition;

namespace {

KeyDefRules opened(const TKeyDefinition& key, int code)
{
    KeyDefRules rules;
    rules.open(key);
    rules.chooseCommand(entryOf(code));
    return rules;
}

} // namespace

TEST(KeyDefRules, CodeRangeFixesTheParameterAndTheKeysItTakes)
{
    struct Case {
        int code, kind;
        const char* initial;
        int maxLength;
    };
    const Case cases[] = {{0x80, 0, "", 0}, {0x9F, 0, "", 0},   {0xA0, 1, "0", 1}, {0xBF, 1, "0", 1},
                          {0xC0, 2, "00", 2}, {0xDF, 2, "00", 2}, {0xE0, 3, "000", 0}, {0xFF, 3, "000", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const KeyDefRules rules = opened(TKeyDefinition("Key 1"), c.code);
        EXPECT_EQ(KeyDefRules::entryText(entryOf(c.code)), "$" + lmx::byteToHex(uint8_t(c.code)));
        EXPECT_EQ(rules.parameterKind(), c.kind);
        EXPECT_EQ(rules.paramText(), c.initial);
        EXPECT_EQ(rules.paramEnabled(), c.kind != 0);
        EXPECT_EQ(rules.paramMaxLength(), c.maxLength);
        EXPECT_TRUE(rules.okEnabled());
    }
    KeyDefRules none;
    none.open(TKeyDefinition("Key 1"));
    EXPECT_EQ(KeyDefRules::entryText(none.commandIndex()), "$00");
    EXPECT_FALSE(none.okEnabled()); // $00 can never be confirmed

    // The keys typed into the parameter, and pasted text.
    KeyDefRules rules = opened(TKeyDefinition("Key 1"), 0xE3);
    EXPECT_EQ(rules.key('a').ch, 'A');
    EXPECT_TRUE(rules.key('!').accepted && rules.key('\xE9').accepted);
    EXPECT_TRUE(rules.key(keychar::Backspace).accepted && rules.key(keychar::Enter).accepted);
    EXPECT_FALSE(rules.key('\'').accepted || rules.key('\x01').accepted || rules.key('\t').accepted);
    // Pasted text never brings an apostrophe or a control character into the line.
    EXPECT_FALSE(rules.setParamText("a'b\tc"));
    EXPECT_EQ(rules.paramText(), "ABC");

    rules.chooseCommand(entryOf(0xA7));
    rules.setParamText("XYZ");
    EXPECT_EQ(rules.paramText(), "X");
    rules.setParamText("");
    EXPECT_FALSE(rules.paramValid() || rules.okEnabled());
}

// The $C5 and $E3 definitions are driven through the dialog itself (key_widgets_test).
TEST(KeyDefRules, OkFillsTheKeyAndABoundKeyReopensUnchanged)
{
    TKeyDefinition none("Key 1");
    ASSERT_TRUE(opened(none, 0x85).fill(none, "$85"));
    EXPECT_EQ(none.NParam, 0);
    EXPECT_EQ(none.CommandIndex, 6);
    EXPECT_EQ(hexOf(none.CommandHexData), "09 1B 85");
    EXPECT_EQ(none.CommandStr, "ESC Key 1");
    EXPECT_TRUE(none.Enabled);

    TKeyDefinition untouched("Key 3");
    EXPECT_FALSE(opened(untouched, 0xA0).fill(untouched, "$G0")); // conversion error
    EXPECT_EQ(untouched, TKeyDefinition("Key 3"));

    // A key bound by a command file opens with its command and parameter; Ok unchanged keeps it.
    TKeyDefinition bound("Key 4");
    ASSERT_TRUE(bound.SetFromCommand("ESC Key 4 'Q7' EOC", "\x09\x1B\xF0Q7\x0C", "Key 4 = $F0"));
    KeyDefRules rules;
    rules.open(bound);
    EXPECT_EQ(rules.paramText(), "Q7");
    TKeyDefinition again = bound;
    ASSERT_TRUE(rules.fill(again, KeyDefRules::entryText(rules.commandIndex())));
    EXPECT_EQ(again, bound);
}

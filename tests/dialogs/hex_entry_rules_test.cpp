#include "dialogs/hex_entry_rules.h"

#include <gtest/gtest.h>

namespace {

HexEntryRules opened(const std::string& text = {})
{
    HexEntryRules r;
    r.open({"Insert Hexadecimal Data", "Example Input: 22 33 23 AA AF FF", text});
    return r;
}

void typeAll(HexEntryRules& r, const std::string& keys)
{
    for (char c : keys) {
        const KeyOutcome k = r.key(c);
        if (k.accepted)
            r.setText(r.text() + k.ch);
    }
}

} // namespace

TEST(HexEntry, OkNeedsAWholeNumberOfBytesNormalisesThePairsAndKeysAndTheEditedLine)
{
    HexEntryRules r = opened();
    EXPECT_FALSE(r.okEnabled());
    typeAll(r, "ABC");
    EXPECT_FALSE(r.okEnabled());
    typeAll(r, "D");
    EXPECT_TRUE(r.okEnabled());
    r.setText("   ");
    EXPECT_FALSE(r.okEnabled());
    THexData untouched{"", "", "keep"};
    EXPECT_FALSE(r.fill(untouched));
    EXPECT_EQ(untouched.HexData, "keep");
    // A paste bypasses the keys; its non-hex characters must not reach the caller.
    r.setText("XY");
    EXPECT_FALSE(r.okEnabled());
    r.setText("ab\tcd");
    EXPECT_FALSE(r.okEnabled());

    r.setText("1 2 3 4");
    ASSERT_TRUE(r.okEnabled());
    EXPECT_EQ(r.normalised(), "12 34");
    r.setText("");
    typeAll(r, "a0ff");
    EXPECT_EQ(r.text(), "A0FF");
    THexData out;
    ASSERT_TRUE(r.fill(out));
    EXPECT_EQ(out.HexData, "A0 FF");
    r.setText("  22   33 ");
    EXPECT_EQ(r.normalised(), "22 33");

    // the edited line opens with its text
    r = opened("22 33");
    EXPECT_EQ(r.text(), "22 33");
    EXPECT_TRUE(r.okEnabled());
    EXPECT_TRUE(r.key(' ').accepted && r.key(keychar::Backspace).accepted);
    EXPECT_FALSE(r.key(keychar::Enter).accepted || r.key('g').accepted || r.key('\'').accepted);
    EXPECT_EQ(r.key('e').ch, 'E');
}

#include "dialog_fixtures.h"
#include "dialogs/eoc_rules.h"
#include "rules_steps.h"

#include <gtest/gtest.h>

using namespace steps;

namespace {

EocRules opened(const std::string& title, const BoxConfigs& c)
{
    EocRules r;
    r.open(title, c);
    return r;
}

} // namespace

TEST(EocFields, DefaultsEntryLengthsAndBoundMessages)
{
    EocRules hex = opened("Configure Display (All in Hex)", fixtures::displayConfiguration());
    EXPECT_EQ(hex.message(), "");
    const AskResult res = hex.result();
    ASSERT_TRUE(res.confirmed);
    EXPECT_EQ(res.raw, "010808" + std::string(28, '0'));
    EXPECT_EQ(res.raw.size(), 34u);
    EXPECT_EQ(res.quoted, "'" + res.raw + "'");
    hex.setText(5, "1");
    EXPECT_TRUE(hex.configs()[5].InError);
    EXPECT_FALSE(hex.okEnabled());
    EXPECT_FALSE(hex.result().confirmed);
    hex.setText(5, "01");
    EXPECT_TRUE(hex.okEnabled());

    EocRules time = opened("Configure Time And Date (All in Dec)", fixtures::timeAndDate());
    play(time, {type(9, "7", nullptr, nullptr, Off), type(9, "07", nullptr, nullptr, On)});
    EXPECT_FALSE(time.key(9, 'a').accepted);
    EXPECT_TRUE(hex.key(0, 'a').accepted);
    EXPECT_EQ(hex.key(0, 'a').ch, 'A');

    // the bound messages at and beyond the limits, on fields not used above
    play(time, {type(7, "12"), up(7, "12", "Maxmimum Value (Dec): 12"), type(7, "01"),
                down(7, "01", "Minimum Value (Dec): 1"), type(10, "4"),
                up(10, "05", "")}); // decimal spins pad
    play(hex, {type(0, "09", nullptr, "Maximum Value (Hex): 08", Off),
               type(0, "00", nullptr, "Minimum Value (Hex): 01"),
               type(0, ""), up(0, "01")}); // an unreadable field spins to its minimum
}

TEST(EocFields, HiddenFieldsOneDigitHexFieldsAndTheReusedDialog)
{
    // A hidden field neither blocks nor contributes.
    BoxConfigs c = fixtures::timeAndDate();
    c[0].MaxValue = 5;
    c[0].CurrentValue = 9; // out of range, but hidden
    EocRules r = opened("Configure Time And Date (All in Dec)", c);
    const AskResult res = r.result();
    ASSERT_TRUE(res.confirmed);
    EXPECT_EQ(res.raw, "000101000000");
    EXPECT_FALSE(r.configs()[0].InError);

    BoxConfigs one{};
    one[3] = {"Mode", 0xF, 0, 0xA, false, true, false, false};
    r.open("t", one);
    EXPECT_EQ(r.field(3).text(), "A");
    EXPECT_EQ(EocRules::entryLength(one[3]), 1);

    // An out-of-range value opened twice in a row must block Ok both times, although the
    // field's text does not change between the calls.
    BoxConfigs bad = fixtures::displayConfiguration();
    bad[0].CurrentValue = 9;
    r.open("Configure Display (All in Hex)", bad);
    EXPECT_FALSE(r.okEnabled());
    r.open("Configure Display (All in Hex)", bad);
    EXPECT_FALSE(r.okEnabled());
    EXPECT_TRUE(r.configs()[0].InError);
    r.open("Configure Display (All in Hex)", fixtures::displayConfiguration());
    EXPECT_TRUE(r.okEnabled());
}

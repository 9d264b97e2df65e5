#include "dialog_fixtures.h"
#include "dialogs/inc_dec_rules.h"
#include "dialogs/triple_rules.h"
#include "rules_steps.h"

#include <gtest/gtest.h>

using namespace steps;

TEST(IncDecValues, RangeArrowsTheMessageLineAndThePaddedResultsOfOneAndTwoValues)
{
    IncDecRules r;
    r.open({fixtures::packetWait()});
    EXPECT_EQ(r.field(0).text(), "5000");
    EXPECT_EQ(r.field(0).entryLength(), 5);
    play(r, {type(0, "10001", nullptr, "MaxValue = 10000", Off)});
    EXPECT_FALSE(r.field(0).valid());
    TSingleBox out = fixtures::packetWait();
    EXPECT_FALSE(r.fill({&out}));
    EXPECT_EQ(out.CurrValStr, ""); // untouched
    play(r, {type(0, "10000", nullptr, "MaxValue = 10000", On), type(0, "250", nullptr, ""),
             type(0, "", nullptr, "MinValue = 0", Off), // no number reads as the minimum
             type(0, "123456", "12345"),
             // the arrows step within the bounds
             type(0, "9999"), up(0, "10000"), up(0, "10000", "MaxValue = 10000"), type(0, "1"),
             down(0), down(0, "0", "MinValue = 0"), type(0, ""), up(0, "1")});
    EXPECT_FALSE(r.key(0, '-').accepted);
    EXPECT_FALSE(r.key(0, 'a').accepted);
    EXPECT_TRUE(r.key(0, keychar::Backspace).accepted);
    // Ok pads the confirmed text to the entry length.
    play(r, {type(0, "7", nullptr, nullptr, On)});
    ASSERT_TRUE(r.fill({&out}));
    EXPECT_EQ(out.CurrentValue, 7);
    EXPECT_EQ(out.CurrValStr, "00007");

    // two values: the LED test's hours and minutes
    const auto boxes = fixtures::ledTest();
    r.open({boxes[0], boxes[1]});
    play(r, {type(0, "24", nullptr, nullptr, On), type(0, "25", nullptr, "MaxValue = 24", Off),
             type(1, "30", nullptr, "", Off), // the field that changed writes the shared line
             type(0, "7"), type(1, "5")});
    TDoubleBox left = boxes[0], right = boxes[1];
    ASSERT_TRUE(r.fill({&left, &right}));
    EXPECT_EQ(left.CurrValStr + right.CurrValStr, "0705");
    EXPECT_EQ(right.CurrentValue, 5);
}

TEST(TripleValue, HexFieldsNeedBothDigitsSpinWithinTheBoundsAndFillUnpadded)
{
    TripleRules r;
    r.open(fixtures::watchDog());
    EXPECT_EQ(r.field(0).text(), "00");
    EXPECT_EQ(r.field(2).text(), "01");
    EXPECT_TRUE(r.okEnabled());
    play(r, {type(0, "7", nullptr, nullptr, Off)});
    EXPECT_TRUE(r.field(0).inError());
    play(r, {type(0, "07", nullptr, nullptr, On)});
    EXPECT_FALSE(r.field(0).inError());
    play(r, {type(1, "ff", "FF", nullptr, On),
             // the arrows clamp, and an unreadable field spins to its minimum
             type(0, "00"), down(0, "00", "Minimum Value (Hex): 00"), type(0, "06"), up(0),
             up(0, "07", "Maximum Value (Hex): 07"), type(1, ""), up(1, "00")});
    play(r, {type(2, "65", nullptr, "Maximum Value (Hex): 64", Off),
             type(2, "64", nullptr, "Maximum Value (Hex): 64"), // the line keeps what it said
             type(2, "20", nullptr, "")});

    auto boxes = fixtures::watchDog();
    r.setText(0, "0");
    EXPECT_FALSE(r.fill({&boxes[0], &boxes[1], &boxes[2]}));
    EXPECT_TRUE(boxes[0].InError);
    EXPECT_EQ(boxes[0].CurrValStr, "");
    r.setText(0, "05");
    ASSERT_TRUE(r.fill({&boxes[0], &boxes[1], &boxes[2]}));
    EXPECT_FALSE(boxes[0].InError);
    EXPECT_EQ(boxes[0].CurrValStr + boxes[1].CurrValStr + boxes[2].CurrValStr, "050020");
    EXPECT_EQ(boxes[2].CurrentValue, 0x20);
}

TEST(TripleValue, DecimalFieldsAndWideInitialValues)
{
    std::array<TTripleBox, 3> boxes{};
    for (TTripleBox& b : boxes) {
        b.MaxValue = 250;
        b.MinValue = 10;
        b.CurrentValue = 20;
    }
    boxes[2].HexInput = true;
    boxes[2].MaxValue = 0x1FF;
    boxes[2].CurrentValue = 0x100;
    TripleRules r;
    r.open(boxes);
    EXPECT_EQ(r.field(0).text(), "20");
    EXPECT_EQ(r.field(0).config().entryLength, 3);
    // A value that needs three hex digits widens its field.
    EXPECT_EQ(r.field(2).text(), "100");
    EXPECT_EQ(r.field(2).config().entryLength, 3);
    play(r, {type(0, "300", nullptr, "Maxmimum Value (Dec): 250"),
             type(0, "5", nullptr, "Minimum Value (Dec): 10"),
             type(0, "50", nullptr, nullptr, On)}); // decimal fields need no fixed length
    boxes[1].MinValue = 0;
    r.open(boxes);
    r.setText(1, ""); // an empty field would otherwise read as 0 and pass
    EXPECT_TRUE(r.field(1).inError());
    EXPECT_FALSE(r.okEnabled());
    EXPECT_EQ(TripleRules::initialHexText(5), "05");
    EXPECT_EQ(TripleRules::initialHexText(-1), "FFFFFFFF");
}

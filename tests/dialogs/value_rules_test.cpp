#include "dialog_fixtures.h"
#include "dialogs/inc_dec_rules.h"
#include "dialogs/triple_rules.h"

#include <gtest/gtest.h>

namespace {

IncDecRules single(const TSingleBox& box)
{
    IncDecRules r;
    r.open({box});
    return r;
}

TripleRules watchDog()
{
    TripleRules r;
    r.open(fixtures::watchDog());
    return r;
}

} // namespace

TEST(SingleValue, PadsTheConfirmedTextToTheEntryLength)
{
    IncDecRules r = single(fixtures::packetWait());
    EXPECT_EQ(r.field(0).text(), "5000");
    EXPECT_EQ(r.field(0).entryLength(), 5);
    r.setText(0, "7");
    ASSERT_TRUE(r.okEnabled());
    TSingleBox out = fixtures::packetWait();
    ASSERT_TRUE(r.fill({&out}));
    EXPECT_EQ(out.CurrentValue, 7);
    EXPECT_EQ(out.CurrValStr, "00007");
}

TEST(SingleValue, RangeEmptyTextAndTheMessageLine)
{
    IncDecRules r = single(fixtures::packetWait());
    r.setText(0, "10001");
    EXPECT_FALSE(r.okEnabled());
    EXPECT_EQ(r.message(), "MaxValue = 10000");
    EXPECT_FALSE(r.field(0).valid());
    TSingleBox out = fixtures::packetWait();
    EXPECT_FALSE(r.fill({&out}));
    EXPECT_EQ(out.CurrValStr, ""); // untouched
    r.setText(0, "10000");
    EXPECT_TRUE(r.okEnabled());
    EXPECT_EQ(r.message(), "MaxValue = 10000");
    r.setText(0, "250");
    EXPECT_EQ(r.message(), "");
    r.setText(0, "");
    EXPECT_FALSE(r.okEnabled());
    EXPECT_EQ(r.message(), "MinValue = 0"); // no number reads as the minimum
    r.setText(0, "123456");
    EXPECT_EQ(r.field(0).text(), "12345");
    EXPECT_FALSE(r.key(0, '-').accepted);
    EXPECT_FALSE(r.key(0, 'a').accepted);
    EXPECT_TRUE(r.key(0, keychar::Backspace).accepted);
}

TEST(SingleValue, ArrowsStepWithinTheBounds)
{
    TSingleBox box = fixtures::packetWait();
    box.CurrentValue = 9999;
    IncDecRules r = single(box);
    r.stepUp(0);
    EXPECT_EQ(r.field(0).text(), "10000");
    r.stepUp(0);
    EXPECT_EQ(r.field(0).text(), "10000");
    EXPECT_EQ(r.message(), "MaxValue = 10000");
    r.setText(0, "1");
    r.stepDown(0);
    r.stepDown(0);
    EXPECT_EQ(r.field(0).text(), "0");
    EXPECT_EQ(r.message(), "MinValue = 0");
    r.setText(0, "");
    r.stepUp(0);
    EXPECT_EQ(r.field(0).text(), "1");
}

TEST(DoubleValue, LedTestHoursAndMinutes)
{
    const auto boxes = fixtures::ledTest();
    IncDecRules r;
    r.open({boxes[0], boxes[1]});
    r.setText(0, "24");
    EXPECT_TRUE(r.okEnabled());
    r.setText(0, "25");
    EXPECT_FALSE(r.okEnabled());
    EXPECT_EQ(r.message(), "MaxValue = 24");
    r.setText(1, "30"); // the field that changed writes the shared line
    EXPECT_EQ(r.message(), "");
    EXPECT_FALSE(r.okEnabled());
    r.setText(0, "7");
    r.setText(1, "5");
    TDoubleBox left = boxes[0], right = boxes[1];
    ASSERT_TRUE(r.fill({&left, &right}));
    EXPECT_EQ(left.CurrValStr + right.CurrValStr, "0705");
    EXPECT_EQ(right.CurrentValue, 5);
}

TEST(TripleValue, HexFieldIsInvalidUntilItHasBothDigits)
{
    TripleRules r = watchDog();
    EXPECT_EQ(r.field(0).text(), "00");
    EXPECT_EQ(r.field(2).text(), "01");
    EXPECT_TRUE(r.okEnabled());
    r.setText(0, "7");
    EXPECT_TRUE(r.field(0).inError());
    EXPECT_FALSE(r.okEnabled());
    r.setText(0, "07");
    EXPECT_FALSE(r.field(0).inError());
    EXPECT_TRUE(r.okEnabled());
    r.setText(1, "ff");
    EXPECT_EQ(r.field(1).text(), "FF");
    EXPECT_TRUE(r.okEnabled());
}

TEST(TripleValue, BoundMessagesAndTheUnpaddedResult)
{
    TripleRules r = watchDog();
    r.setText(2, "65");
    EXPECT_EQ(r.message(), "Maximum Value (Hex): 64");
    EXPECT_FALSE(r.okEnabled());
    r.setText(2, "64"); // at the bound the line keeps what it said
    EXPECT_EQ(r.message(), "Maximum Value (Hex): 64");
    r.setText(2, "20");
    EXPECT_EQ(r.message(), "");

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

TEST(TripleValue, SpinsClampAndResetUnreadableText)
{
    TripleRules r = watchDog();
    r.spinDown(0);
    EXPECT_EQ(r.field(0).text(), "00");
    EXPECT_EQ(r.message(), "Minimum Value (Hex): 00");
    r.setText(0, "06");
    r.spinUp(0);
    r.spinUp(0);
    EXPECT_EQ(r.field(0).text(), "07");
    EXPECT_EQ(r.message(), "Maximum Value (Hex): 07");
    r.setText(1, "");
    r.spinUp(1);
    EXPECT_EQ(r.field(1).text(), "00");
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
    r.setText(0, "300");
    EXPECT_EQ(r.message(), "Maxmimum Value (Dec): 250");
    r.setText(0, "5");
    EXPECT_EQ(r.message(), "Minimum Value (Dec): 10");
    r.setText(0, "50"); // decimal fields need no fixed length
    EXPECT_TRUE(r.okEnabled());
    boxes[1].MinValue = 0;
    r.open(boxes);
    r.setText(1, ""); // an empty field would otherwise read as 0 and pass
    EXPECT_TRUE(r.field(1).inError());
    EXPECT_FALSE(r.okEnabled());
    EXPECT_EQ(TripleRules::initialHexText(5), "05");
    EXPECT_EQ(TripleRules::initialHexText(-1), "FFFFFFFF");
}

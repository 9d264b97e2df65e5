#include "dialog_fixtures.h"
#include "dialog_test_support.h"
#include "dialogs/eoc_form.h"
#include "dialogs/inc_dec_forms.h"
#include "dialogs/spin_buttons.h"
#include "tests/support/scripted_dialogs.h"

#include <QFontDatabase>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

TEST(SingleIncDecForm, WaitIsZeroPaddedOnEnter)
{
    ScriptedDialogs user;
    TSingleBox box = fixtures::packetWait();
    TSingleIncDec form(box, user);
    openWithoutLoop(form);
    const QFontMetrics titleFont(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    EXPECT_GT(form.width(), titleFont.horizontalAdvance(form.windowTitle())); // the caption fits
    EXPECT_EQ(shown(form.field(0)), "5000");

    retype(form.field(0), "10001");
    EXPECT_FALSE(form.okButton()->isEnabled());
    EXPECT_TRUE(form.field(0)->isInvalid());
    EXPECT_EQ(shown(form.messageLabel()), "MaxValue = 10000");
    QTest::keyClick(form.field(0), '-');
    EXPECT_EQ(user.beeps(), 1);

    retype(form.field(0), "7");
    QTest::keyClick(form.field(0), Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(box.CurrValStr, "00007");
}

TEST(DoubleIncDecForm, LedTestHoursUpToTwentyFour)
{
    ScriptedDialogs user;
    auto boxes = fixtures::ledTest();
    TDoubleIncDec form(boxes[0], boxes[1], user);
    openWithoutLoop(form);
    const QFontMetrics titleFont(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    EXPECT_GT(form.width(), titleFont.horizontalAdvance(form.windowTitle())); // the caption fits
    retype(form.field(0), "25");
    EXPECT_TRUE(form.field(0)->isInvalid());
    EXPECT_FALSE(form.field(1)->isInvalid());
    retype(form.field(0), "24");
    QTest::mouseClick(form.spin(1)->upButton(), Qt::LeftButton);
    QTest::mouseClick(form.okButton(), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(boxes[0].CurrValStr + boxes[1].CurrValStr, "2401");
}

TEST(TripleIncDecForm, OnlyTheOkButtonConfirms)
{
    ScriptedDialogs user;
    auto boxes = fixtures::watchDog();
    TTripleIncDec form(boxes[0], boxes[1], boxes[2], user);
    openWithoutLoop(form);
    retype(form.field(0), "7");
    EXPECT_TRUE(form.field(0)->isInvalid());
    EXPECT_FALSE(form.okButton()->isEnabled());
    QTest::keyClicks(form.field(0), "x");
    EXPECT_EQ(user.beeps(), 1);
    retype(form.field(0), "07");
    retype(form.field(1), "1e");

    QTest::keyClick(form.field(1), Qt::Key_Return);
    QTest::keyClick(&form, Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    QTest::mouseClick(form.okButton(), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(boxes[0].CurrValStr + boxes[1].CurrValStr + boxes[2].CurrValStr, "071E01");
}

TEST(EocForm, DisplayConfigurationThenReusedForTimeAndDateWithOnlySixFieldsShown)
{
    ScriptedDialogs user;
    TEocFrm form(user);
    form.start("Configure Display (All in Hex)", fixtures::displayConfiguration());
    openWithoutLoop(form);
    EXPECT_EQ(shown(form.field(16)), "00");
    // Three rows of six, each label above its field.
    EXPECT_LT(form.fieldLabel(7)->y(), form.field(7)->y());
    EXPECT_EQ(form.field(6)->y(), form.field(11)->y());
    EXPECT_GT(form.field(6)->y(), form.field(5)->y());
    EXPECT_GT(form.field(12)->y(), form.field(6)->y());

    retype(form.field(0), "9");
    EXPECT_FALSE(form.okButton()->isEnabled());
    QTest::keyClicks(form.field(0), "0");
    EXPECT_EQ(shown(form.field(0)), "90");
    EXPECT_EQ(shown(form.messageLabel()), "Maximum Value (Hex): 08");
    EXPECT_TRUE(form.field(0)->isInvalid());
    retype(form.field(0), "01");
    QTest::keyClick(form.field(0), Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.answer().raw, "010808" + std::string(28, '0'));

    form.start("Configure Time And Date (All in Dec)", fixtures::timeAndDate());
    openWithoutLoop(form);
    EXPECT_FALSE(form.field(0)->isVisible());
    EXPECT_FALSE(form.fieldLabel(12)->isVisible());
    EXPECT_TRUE(form.field(6)->isVisible());
    EXPECT_EQ(shown(form.field(7)), "01");

    QTest::mouseClick(form.spin(7)->downButton(), Qt::LeftButton);
    EXPECT_EQ(shown(form.messageLabel()), "Minimum Value (Dec): 1");
    retype(form.field(9), "07");
    QTest::mouseClick(form.okButton(), Qt::LeftButton);
    EXPECT_EQ(form.answer().raw, "000101070000");

    form.start("Configure Time And Date (All in Dec)", fixtures::timeAndDate());
    openWithoutLoop(form);
    QTest::keyClick(form.field(6), Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_FALSE(form.answer().confirmed);
}

// Every value dialog has a way out that changes nothing: the Cancel button, and Escape in a
// field or on the dialog. The records keep their values.
TEST(ValueForms, CancelAndEscapeLeaveTheRecordsAsTheyWere)
{
    enum class Way { CancelButton, EscapeInField, EscapeOnDialog };
    for (const Way way : {Way::CancelButton, Way::EscapeInField, Way::EscapeOnDialog}) {
        const auto leave = [way](FieldGridDialog& form) {
            openWithoutLoop(form);
            retype(form.field(0), "1");
            switch (way) {
            case Way::CancelButton: QTest::mouseClick(form.cancelButton(), Qt::LeftButton); break;
            case Way::EscapeInField: QTest::keyClick(form.field(0), Qt::Key_Escape); break;
            case Way::EscapeOnDialog: QTest::keyClick(form.cancelButton(), Qt::Key_Escape); break;
            }
            EXPECT_EQ(form.result(), QDialog::Rejected) << int(way);
            EXPECT_FALSE(form.isVisible()) << int(way);
        };
        ScriptedDialogs user;
        TSingleBox wait = fixtures::packetWait();
        const TSingleBox waitBefore = wait;
        TSingleIncDec single(wait, user);
        leave(single);
        EXPECT_EQ(wait.CurrValStr, waitBefore.CurrValStr);
        auto led = fixtures::ledTest();
        const auto ledBefore = led;
        TDoubleIncDec twice(led[0], led[1], user);
        leave(twice);
        EXPECT_EQ(led[0].CurrValStr + led[1].CurrValStr, ledBefore[0].CurrValStr + ledBefore[1].CurrValStr);
        auto dog = fixtures::watchDog();
        const auto dogBefore = dog;
        TTripleIncDec triple(dog[0], dog[1], dog[2], user);
        leave(triple);
        EXPECT_EQ(dog[0].CurrentValue, dogBefore[0].CurrentValue);
        TEocFrm eoc(user);
        eoc.start("Configure Display (All in Hex)", fixtures::displayConfiguration());
        leave(eoc);
        EXPECT_FALSE(eoc.answer().confirmed);
    }
}

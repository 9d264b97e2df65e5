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

// Every value dialog has ways out that change nothing: Cancel, and Escape anywhere.
TEST(ValueForms, CancelAndEscapeLeaveTheRecordsAsTheyWere)
{
    for (const int way : {0, 1, 2}) { // Cancel, Escape in a field, Escape on a button
        ScriptedDialogs user;
        TSingleBox wait = fixtures::packetWait();
        auto led = fixtures::ledTest();
        auto dog = fixtures::watchDog();
        TSingleIncDec single(wait, user);
        TDoubleIncDec twice(led[0], led[1], user);
        TTripleIncDec triple(dog[0], dog[1], dog[2], user);
        TEocFrm eoc(user);
        eoc.start("Configure Display (All in Hex)", fixtures::displayConfiguration());
        for (FieldGridDialog* form : std::initializer_list<FieldGridDialog*>{&single, &twice, &triple, &eoc}) {
            openWithoutLoop(*form);
            retype(form->field(0), "1");
            if (way == 0)
                QTest::mouseClick(form->cancelButton(), Qt::LeftButton);
            else
                QTest::keyClick(way == 1 ? static_cast<QWidget*>(form->field(0)) : form->cancelButton(), Qt::Key_Escape);
            EXPECT_EQ(form->result(), QDialog::Rejected) << way << form->windowTitle().toStdString();
        }
        EXPECT_EQ(wait.CurrValStr + led[0].CurrValStr + dog[0].CurrValStr,
                  fixtures::packetWait().CurrValStr + fixtures::ledTest()[0].CurrValStr + fixtures::watchDog()[0].CurrValStr);
        EXPECT_FALSE(eoc.answer().confirmed);
    }
}

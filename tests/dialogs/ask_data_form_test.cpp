#include "dialog_test_support.h"
#include "dialogs/ask_data_form.h"
#include "dialogs/spin_buttons.h"
#include "tests/support/scripted_dialogs.h"

#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class AskDataForm : public ::testing::Test {
protected:
    ScriptedDialogs user;
    TAskDataFrm form{user};

    void open(const AskValueRequest& r)
    {
        ASSERT_TRUE(form.start(r));
        openWithoutLoop(form);
    }
};

} // namespace

TEST_F(AskDataForm, FontDigitIsUpperCasedRangeCheckedAndConfirmed)
{
    open({AskMode::InsertHex1, "Hex. Font number", 9, 1, 0, {}, false});
    EXPECT_TRUE(form.spin()->isVisible());
    EXPECT_EQ(shown(form.field()), "1");

    retype(form.field(), "a");
    EXPECT_EQ(shown(form.field()), "A");
    EXPECT_FALSE(form.okButton()->isEnabled());
    EXPECT_TRUE(form.field()->isInvalid());
    EXPECT_EQ(user.beeps(), 0);

    retype(form.field(), "g");
    EXPECT_EQ(user.beeps(), 1);
    retype(form.field(), "7");
    EXPECT_FALSE(form.field()->isInvalid());
    QTest::mouseClick(form.okButton(), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(form.answer().confirmed);
    EXPECT_EQ(form.answer().raw, "7");
}

TEST_F(AskDataForm, SignedFieldShowsItsRangeAndEnterConfirmsOnRelease)
{
    open({AskMode::InsertHex2, "Hex. Vertical Position ", 127, 0, -128, {}, false});
    EXPECT_EQ(shown(form.messageLabel()), "Value between F80h (-128) and 07Fh (127)");
    retype(form.field(), "8");
    QTest::keyPress(form.field(), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible()); // Ok disabled: Enter does nothing
    QTest::keyRelease(form.field(), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());
    QTest::keyClicks(form.field(), "0");
    QTest::keyPress(form.field(), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible()); // confirmed on release only
    QTest::keyRelease(form.field(), Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.answer().raw, "80");
}

TEST_F(AskDataForm, TextModeRefusesApostrophesAndEscapeCancels)
{
    open({AskMode::InsertText, "CommandBox: Type Your Text.", 0, 0, 0, {}, false});
    EXPECT_FALSE(form.spin()->isVisible());
    QTest::keyClicks(form.field(), "it's");
    EXPECT_EQ(shown(form.field()), "its");
    EXPECT_EQ(user.beeps(), 1);
    // A pasted apostrophe is kept visible but cannot be confirmed.
    form.field()->insert(QStringLiteral("'"));
    EXPECT_FALSE(form.okButton()->isEnabled());
    QTest::keyClick(form.field(), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_FALSE(form.answer().confirmed);
}

TEST_F(AskDataForm, SpinButtonsThenTheReusedDialogIsSetUpAgainAndPastedTextIsUpperCased)
{
    open({AskMode::EditHex3, "Hex. Horizontal Position ", 2047, 0, -2048, "7FF", false});
    QTest::mouseClick(form.spin()->upButton(), Qt::LeftButton);
    EXPECT_EQ(shown(form.field()), "7FF");
    EXPECT_EQ(shown(form.messageLabel()), "MaxValue = 7FFh (2047)");
    retype(form.field(), "000");
    QTest::mouseClick(form.spin()->downButton(), Qt::LeftButton);
    EXPECT_EQ(shown(form.field()), "FFF");
    form.reject();
    open({AskMode::EditHex2, "Hex. Page Number", 100, 1, 0, prefillText(AskMode::EditHex2, "SOP '03'"), false});
    EXPECT_EQ(shown(form.field()), "03");
    EXPECT_EQ(shown(form.messageLabel()), "");
    EXPECT_EQ(form.field()->maxLength(), 2);
    form.field()->clear();
    form.field()->insert(QStringLiteral("3f"));
    EXPECT_EQ(shown(form.field()), "3F");
    EXPECT_TRUE(form.okButton()->isEnabled());
    form.close(); // closing the window is Cancel
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_FALSE(form.answer().confirmed);
}

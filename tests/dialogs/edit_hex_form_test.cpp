#include "dialog_test_support.h"
#include "dialogs/edit_hex_form.h"
#include "tests/support/scripted_dialogs.h"

#include <QPushButton>

#include <gtest/gtest.h>

TEST(EditHexForm, TypedDigitsArePairedOnOkAndEscapeKeepsTheEditedLine)
{
    ScriptedDialogs user;
    THexData data{"Insert Hexadecimal Data", "Example Input: 22 33 23 AA AF FF", ""};
    TEditHexForm form(data, user);
    openWithoutLoop(form);
    EXPECT_FALSE(form.okButton()->isEnabled());

    QTest::keyClicks(form.field(), "abc");
    EXPECT_EQ(shown(form.field()), "ABC");
    EXPECT_TRUE(form.field()->isInvalid());
    QTest::keyClicks(form.field(), "gd");
    EXPECT_EQ(user.beeps(), 1);
    EXPECT_EQ(shown(form.field()), "ABCD");
    EXPECT_FALSE(form.field()->isInvalid());

    // Enter is refused as a character (a beep) and confirms on its release.
    QTest::keyClick(form.field(), Qt::Key_Return);
    EXPECT_EQ(user.beeps(), 2);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(data.HexData, "AB CD");

    // The line edited again opens with its text; Escape leaves it alone.
    TEditHexForm again(data, user);
    openWithoutLoop(again);
    EXPECT_EQ(shown(again.field()), "AB CD");
    EXPECT_TRUE(again.okButton()->isEnabled());
    QTest::keyClicks(again.field(), " 4");
    EXPECT_FALSE(again.okButton()->isEnabled());
    QTest::keyClick(again.field(), Qt::Key_Escape);
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_EQ(data.HexData, "AB CD");
}

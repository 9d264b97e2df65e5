#include "dialog_test_support.h"
#include "dialogs/edit_hex_form.h"
#include "tests/support/scripted_dialogs.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace {

THexData newLine()
{
    return {"Insert Hexadecimal Data", "Example Input: 22 33 23 AA AF FF", ""};
}

} // namespace

TEST(EditHexForm, TypedDigitsAreUpperCasedAndPairedOnOk)
{
    ScriptedDialogs user;
    THexData data = newLine();
    TEditHexForm form(data, user);
    openWithoutLoop(form);
    EXPECT_FALSE(form.okButton()->isEnabled());

    QTest::keyClicks(form.field(), "abc");
    EXPECT_EQ(shown(form.field()), "ABC");
    EXPECT_FALSE(form.okButton()->isEnabled());
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
}

TEST(EditHexForm, EditedLineOpensWithItsTextAndEscapeKeepsIt)
{
    ScriptedDialogs user;
    THexData data = newLine();
    data.HexData = "22 33";
    TEditHexForm form(data, user);
    openWithoutLoop(form);
    EXPECT_EQ(shown(form.field()), "22 33");
    EXPECT_TRUE(form.okButton()->isEnabled());
    QTest::keyClicks(form.field(), " 4");
    EXPECT_FALSE(form.okButton()->isEnabled());
    QTest::keyClick(form.field(), Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(data.HexData, "22 33");
}

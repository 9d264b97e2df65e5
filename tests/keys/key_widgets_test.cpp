#include "tests/dialogs/dialog_test_support.h"
#include "tests/editor/commands_support.h"

#include "dialogs/field_edit.h"
#include "editor/action_button.h"
#include "editor/command_editor.h"
#include "keys/key_actions.h"
#include "keys/key_def_form.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class KeyDefFormTest : public ::testing::Test {
protected:
    ScriptedDialogs user;
    lmx::TKeyDefinition key{"Key 2"};
    TKeyDefForm form{user, key};

    void SetUp() override
    {
        form.start();
        openWithoutLoop(form);
    }
    void choose(int code) { form.KeyCommandBox()->setCurrentIndex(entryOf(code)); }
};

} // namespace

TEST_F(KeyDefFormTest, DefinesTheKeyFromTheTypedParameter)
{
    EXPECT_EQ(form.KeyCommandBox()->count(), 129);
    EXPECT_FALSE(form.KeyTxtEdit()->isEnabled() || form.KeyParamEdit()->isEnabled());
    EXPECT_FALSE(form.OkButton()->isEnabled()); // $00
    QTest::keyClicks(form.KeyCommandBox(), "f8"); // typed characters choose nothing
    EXPECT_EQ(form.KeyCommandBox()->currentIndex(), 0);

    choose(0xC5);
    EXPECT_EQ(form.ParameterBox()->currentText(), "2");
    EXPECT_EQ(shown(form.KeyParamEdit()), "00");
    retype(form.KeyParamEdit(), "a'b");
    EXPECT_EQ(user.beeps(), 1);
    EXPECT_EQ(shown(form.KeyParamEdit()), "AB");
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(key.ButtonCaption, "Key 2 = $C5");
    EXPECT_EQ(key.CommandStr, "ESC Key 2 'AB'");
    EXPECT_EQ(hexOf(key.CommandHexData), "09 1B C5 41 42");
    EXPECT_EQ(key.NParam * 100 + key.CommandIndex, 270);
}

TEST_F(KeyDefFormTest, EmptyParameterDisablesOkAndEnterConfirmsOtherwise)
{
    choose(0xA7);
    retype(form.KeyParamEdit(), "");
    EXPECT_FALSE(form.OkButton()->isEnabled());
    EXPECT_TRUE(form.KeyParamEdit()->isInvalid());
    QTest::keyClick(form.KeyParamEdit(), Qt::Key_Return);
    EXPECT_TRUE(form.isVisible());

    choose(0xE3);
    EXPECT_EQ(form.ParameterBox()->currentText(), "EOC");
    retype(form.KeyParamEdit(), "12");
    EXPECT_FALSE(form.KeyParamEdit()->isInvalid());
    QTest::keyClick(form.KeyParamEdit(), Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(hexOf(key.CommandHexData), "09 1B E3 31 32 0C");
    EXPECT_EQ(key.CommandStr, "ESC Key 2 '12' EOC");
}

TEST(KeyActions, EnablingAndCaptionsFollowTheKeysDefinedHereOrByACommandFile)
{
    ScriptedDialogs user;
    ScriptedParameterDialogs params;
    ScriptedKeyAsker asker;
    QWidget host;
    CommandEditor editor{user, params, &host};
    KeyActions actions{editor.box(), user, &host, &asker};
    // Button1, Button2, DoKeyDef2, DoClearKey2, DoClearAllKeys, ClearKeysEnable, DoSaveKeys,
    // DoLoadKeys.
    auto enabled = [&] {
        std::string out;
        for (bool on : {actions.Button1->isEnabled(), actions.Button2->isEnabled(),
                        actions.DoKeyDef2->isEnabled(), actions.DoClearKey2->isEnabled(),
                        actions.DoClearAllKeys->isEnabled(), actions.ClearKeysEnable->isEnabled(),
                        actions.DoSaveKeys->isEnabled(), actions.DoLoadKeys->isEnabled()})
            out += on ? '1' : '0';
        return out;
    };
    EXPECT_EQ(enabled(), "00100001");

    QSignalSpy status(&actions, &KeyActions::statusText);
    asker.setNext(entryOf(0xC5), "ab");
    actions.DoKeyDef2->trigger();
    EXPECT_EQ(status.count(), 2);
    EXPECT_EQ(enabled(), "01011111");
    EXPECT_EQ(actions.Button2->text(), "Key 2 = $C5");
    QTest::mouseClick(actions.Button2, Qt::LeftButton);
    EXPECT_EQ(editor.box().cursorLine().displayText, "ESC Key 2 'AB'");

    user.setNextAnswer(UserDialogs::Answer::Yes);
    actions.DoClearKey2->trigger();
    EXPECT_EQ(enabled(), "00100001");
    EXPECT_EQ(actions.Button2->text(), "Key 2");

    // A key bound elsewhere (a command file) shows after update(), its caption as it stands.
    ASSERT_TRUE(actions.keySet()[0].SetFromCommand("ESC Key 1", "\x09\x1B\x85", "A&B"));
    actions.update();
    EXPECT_EQ(actions.Button1->text(), "A&&B");
    EXPECT_TRUE(actions.Button1->isEnabled());
    actions.ClearKeyList();
    EXPECT_EQ(actions.Button1->text(), "Key 1");
    EXPECT_FALSE(actions.Button1->isEnabled());
}

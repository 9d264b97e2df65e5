#include "commands_support.h"
#include "dialog_test_support.h"

#include "editor/action_button.h"
#include "editor/command_editor.h"
#include "editor/field_edit.h"
#include "editor/key_actions.h"
#include "editor/key_def_form.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
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

class KeyActionsTest : public ::testing::Test {
protected:
    ScriptedDialogs user;
    ScriptedParameterDialogs params;
    ScriptedKeyAsker asker;
    QWidget host;
    CommandEditor editor{user, params, &host};
    KeyActions actions{editor.box(), user, &host, &asker};

    void defineTwo()
    {
        asker.setNext(entryOf(0xC5), "ab");
        actions.DoKeyDef2->trigger();
    }
};

} // namespace

TEST_F(KeyDefFormTest, OpensOnTheFreeKey)
{
    EXPECT_EQ(form.windowTitle(), "Key Definition Dialog Key 2");
    EXPECT_EQ(form.KeyTxtEdit()->text(), "Key 2");
    EXPECT_FALSE(form.KeyTxtEdit()->isEnabled());
    EXPECT_EQ(form.KeyCommandBox()->count(), 129);
    EXPECT_EQ(form.KeyCommandBox()->currentText(), "$00");
    EXPECT_FALSE(form.KeyParamEdit()->isEnabled());
    EXPECT_FALSE(form.ParameterBox()->isEnabled());
    EXPECT_FALSE(form.OkButton()->isEnabled());

    // Typed characters do not choose an entry.
    QTest::keyClicks(form.KeyCommandBox(), "f8");
    EXPECT_EQ(form.KeyCommandBox()->currentIndex(), 0);
}

TEST_F(KeyDefFormTest, DefinesTheKeyFromTheTypedParameter)
{
    choose(0xC5);
    EXPECT_EQ(form.ParameterBox()->currentText(), "2");
    EXPECT_EQ(shown(form.KeyParamEdit()), "00");
    retype(form.KeyParamEdit(), "ab");
    EXPECT_EQ(shown(form.KeyParamEdit()), "AB");
    QTest::keyClick(form.KeyParamEdit(), '\'');
    EXPECT_EQ(user.beeps(), 1);
    EXPECT_EQ(shown(form.KeyParamEdit()), "AB");
    ASSERT_TRUE(form.OkButton()->isEnabled());
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(key.ButtonCaption, "Key 2 = $C5");
    EXPECT_EQ(key.CommandStr, "ESC Key 2 'AB'");
    EXPECT_EQ(key.CommandIndex, 70);
}

TEST_F(KeyDefFormTest, EmptyParameterDisablesOkAndEnterConfirmsOtherwise)
{
    choose(0xA7);
    EXPECT_EQ(form.ParameterBox()->currentText(), "1");
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
}

TEST_F(KeyDefFormTest, EscapeLeavesTheKeyFree)
{
    choose(0x85);
    EXPECT_FALSE(form.KeyParamEdit()->isEnabled());
    EXPECT_TRUE(form.OkButton()->isEnabled());
    QTest::keyClick(form.KeyCommandBox(), Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(key, lmx::TKeyDefinition("Key 2"));
}

TEST_F(KeyActionsTest, EnablingAndCaptionsFollowTheKeys)
{
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(actions.keyButton(i)->text(), QStringLiteral("Key %1").arg(i + 1));
        EXPECT_FALSE(actions.keyButton(i)->isEnabled());
        EXPECT_TRUE(actions.keyDefAction(i)->isEnabled());
        EXPECT_FALSE(actions.clearKeyAction(i)->isEnabled());
    }
    EXPECT_FALSE(actions.DoSaveKeys->isEnabled());
    EXPECT_FALSE(actions.ClearKeysEnable->isEnabled());
    EXPECT_FALSE(actions.DoClearAllKeys->isEnabled());
    EXPECT_TRUE(actions.DoLoadKeys->isEnabled());
    EXPECT_EQ(actions.Button3->objectName(), "Button3");

    QSignalSpy status(&actions, &KeyActions::statusText);
    defineTwo();
    ASSERT_EQ(status.count(), 2);
    EXPECT_EQ(status.at(0).at(0).toString(), "Modifying Settings Key 2");
    EXPECT_EQ(actions.Button2->text(), "Key 2 = $C5");
    EXPECT_TRUE(actions.Button2->isEnabled());
    EXPECT_FALSE(actions.DoKeyDef2->isEnabled());
    EXPECT_TRUE(actions.DoClearKey2->isEnabled());
    EXPECT_TRUE(actions.DoSaveKeys->isEnabled());
    EXPECT_TRUE(actions.ClearKeysEnable->isEnabled());
    EXPECT_FALSE(actions.DoClearKey1->isEnabled());

    QTest::mouseClick(actions.Button2, Qt::LeftButton);
    EXPECT_EQ(editor.box().cursorLine().displayText, "ESC Key 2 'AB'");

    user.setNextAnswer(UserDialogs::Answer::Yes);
    actions.DoClearKey2->trigger();
    EXPECT_EQ(actions.Button2->text(), "Key 2");
    EXPECT_FALSE(actions.Button2->isEnabled());
    EXPECT_FALSE(actions.DoSaveKeys->isEnabled());
}

TEST_F(KeyActionsTest, MenusAndKeysBoundElsewhere)
{
    QStringList defs, clears;
    for (QAction* a : actions.keyDefinitionsMenu()->actions())
        defs << a->text();
    for (QAction* a : actions.clearKeysMenu()->actions())
        clears << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(defs, QStringList({"Key 1", "Key 2", "Key 3", "Key 4"}));
    EXPECT_EQ(clears, QStringList({"Key 1", "Key 2", "Key 3", "Key 4", "-", "All"}));
    EXPECT_EQ(actions.ClearKeysEnable->text(), "Clear Keys");

    // A key bound by a command file, with an ampersand in its caption.
    ASSERT_TRUE(actions.keySet()[0].SetFromCommand("ESC Key 1", "\x09\x1B\x85", "A&B"));
    actions.update();
    EXPECT_EQ(actions.Button1->text(), "A&&B");
    EXPECT_TRUE(actions.Button1->isEnabled());

    user.setNextAnswer(UserDialogs::Answer::Yes);
    actions.DoClearAllKeys->trigger();
    EXPECT_EQ(user.lastText(), "Are you sure to clear the Keys ?");
    EXPECT_FALSE(actions.Button1->isEnabled());
    defineTwo();
    actions.ClearKeyList();
    EXPECT_EQ(actions.Button2->text(), "Key 2");
    EXPECT_EQ(user.unexpected(), 0);
}

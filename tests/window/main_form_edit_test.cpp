// The answer data tab in the window (its actions, pop-up menu, dialogs and filling), the Edit
// menu routed to the focused control, the idle update of the enabling, and key repeat.
#include "main_form_support.h"
#include "tests/widgets/list_box_support.h"

#include "frames/answer_frame.h"
#include "keys/key_actions.h"
#include "widgets/ovel_list_box.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace mainformtest;

namespace {

class AnswerTab : public QuietWindow {
protected:
    TAnswerFrame& frame = w.answerFrame();

    void SetUp() override
    {
        w.PageControl()->setCurrentWidget(w.AnswerDataTab());
        runPending();
    }

    TOvelListBox* box() { return frame.AnswerBox(); }
    void focusBox()
    {
        box()->setFocus(Qt::MouseFocusReason);
        runPending();
        ASSERT_TRUE(frame.boxFocused());
    }
    void clickLine(int row)
    {
        listboxtest::click(box(), row);
        runPending();
    }
    void insert(const std::string& text)
    {
        rig.params->setNextReply(ScriptedParameterDialogs::type({text}));
        frame.DoInsertAnswerBoxExecute();
    }
    QStringList viewTexts() { return listboxtest::rowTexts(box()->model()); }
};

using MainFormEdit = QuietWindow;

} // namespace

TEST_F(AnswerTab, InsertEditDeleteThroughTheInsertDataDialog)
{
    // Only the end marker, no focus: Insert needs the focus, the others more lines.
    for (QAction* a : frame.popupMenu()->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
        }
    }
    focusBox();
    EXPECT_TRUE(frame.DoInsertAnswerBox->isEnabled()); // Delete and Edit: see the end

    insert("T=@@");
    insert("V=@");
    EXPECT_EQ(viewTexts(), (QStringList{"T=@@", "V=@", "<End>"}));
    ASSERT_EQ(rig.params->askValueCalls().size(), 2u);
    EXPECT_EQ(rig.params->askValueCalls()[0].askMode, AskMode::InsertText);
    EXPECT_TRUE(rig.box().Changed()); // the templates belong to the list
    EXPECT_EQ(w.windowTitle(), "NEWFILE.LMX  Orvanta *");

    // Editing a filled line starts from its template and shows the templates again. A data
    // fill is no edit.
    rig.box().SetChanged(false);
    frame.answerData("123");
    EXPECT_EQ(viewTexts(), (QStringList{"T=12", "V=3", "<End>"}));
    EXPECT_FALSE(rig.box().Changed());
    ASSERT_TRUE(frame.DoRestoreAnswerBox->isEnabled()); // Ctrl+R shows the templates again
    QTest::keyClick(box(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(viewTexts(), (QStringList{"T=@@", "V=@", "<End>"}));
    frame.answerData("123");
    clickLine(0);
    rig.params->setNextReply(ScriptedParameterDialogs::type({"Temp=@@"}));
    frame.DoEditAnswerBoxExecute();
    const AskValueRequest& edit = rig.params->askValueCalls().back();
    EXPECT_EQ(edit.askMode, AskMode::EditText);
    EXPECT_EQ(edit.currentText, "T=@@");
    EXPECT_EQ(viewTexts(), (QStringList{"Temp=@@", "V=@", "<End>"}));

    // A cancelled edit changes no template but the filled values are gone.
    frame.answerData("99");
    rig.params->setNextReply(ScriptedParameterDialogs::cancel());
    frame.DoEditAnswerBoxExecute();
    EXPECT_EQ(viewTexts(), (QStringList{"Temp=@@", "V=@", "<End>"}));

    // Delete (the Delete key of the box) takes the current line, never the end marker.
    focusBox();
    clickLine(1);
    QTest::keyClick(box(), Qt::Key_Delete);
    EXPECT_EQ(viewTexts(), (QStringList{"Temp=@@", "<End>"}));
    clickLine(1);
    EXPECT_FALSE(frame.DoDeleteAnswerBox->isEnabled());
    EXPECT_FALSE(frame.DoEditAnswerBox->isEnabled());
}

// Clear asks first; Undo, Copy and Paste of the Edit menu serve the focused box, whichever it is.
TEST_F(AnswerTab, ClearAsksAndOnlyYesClearsAndTheEditMenuServesTheFocusedBox)
{
    MainActions& a = rig.actions();
    focusBox();
    insert("A=@");
    insert("B=@");
    for (UserDialogs::Answer answer : {UserDialogs::Answer::No, UserDialogs::Answer::Cancel}) {
        rig.dialogs.setNextAnswer(answer);
        frame.DoClearAnswerBoxExecute();
        EXPECT_EQ(viewTexts(), (QStringList{"A=@", "B=@", "<End>"}));
    }
    EXPECT_EQ(rig.dialogs.lastText(), "Are you sure you want to clear the window ??");

    // A real modal dialog answers: once it returns, Cut and Copy follow without more input.
    clickLine(0);
    ASSERT_TRUE(a.DoCopyText->isEnabled());
    rig.dialogs.status = [&] {
        QDialog modal(&w);
        QTimer::singleShot(10, &modal, &QDialog::accept); // the user answers a while later
        modal.exec();
        return QString();
    };
    rig.dialogs.setNextAnswer(UserDialogs::Answer::Yes);
    frame.DoClearAnswerBoxExecute();
    EXPECT_EQ(viewTexts(), QStringList{"<End>"});
    runPending();
    EXPECT_FALSE(a.DoCopyText->isEnabled());
    focusBox();
    w.updateActions();
    ASSERT_TRUE(a.DoUndoText->isEnabled());
    a.DoUndoText->trigger();
    EXPECT_EQ(viewTexts(), (QStringList{"A=@", "B=@", "<End>"}));
    w.updateActions();
    EXPECT_FALSE(a.DoUndoText->isEnabled());

    QApplication::setActiveWindow(&w); // the window again, for the shortcuts
    focusBox();
    clickLine(0);
    w.updateActions();
    EXPECT_TRUE(a.DoCopyText->isEnabled());
    EXPECT_FALSE(a.DoPasteText->isEnabled());
    QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
    runPending();
    EXPECT_TRUE(a.DoPasteText->isEnabled());
    clickLine(2);
    QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(viewTexts(), (QStringList{"A=@", "B=@", "A=@", "<End>"}));
    // The command box is untouched by all of it.
    EXPECT_EQ(rig.displayTexts(), std::vector<std::string>{"<End>"});

    // With the focus in the command box the same actions serve the command box.
    rig.box().InsertCommandLine("'cmd'", "cmd");
    w.editor().commandBox()->setFocus(Qt::MouseFocusReason);
    runPending();
    EXPECT_FALSE(frame.boxFocused());
    w.updateActions();
    EXPECT_TRUE(a.DoUndoText->isEnabled());
    a.DoUndoText->trigger();
    EXPECT_EQ(rig.displayTexts(), std::vector<std::string>{"<End>"});
    EXPECT_EQ(viewTexts(), (QStringList{"A=@", "B=@", "A=@", "<End>"}));

    // Focus on neither: nothing to do.
    w.PageControl()->setFocus(Qt::MouseFocusReason);
    runPending();
    w.updateActions();
    for (QAction* action : {a.DoCutText, a.DoCopyText, a.DoPasteText, a.DoUndoText})
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
}

TEST_F(AnswerTab, LosingTheFocusDeselectsAndNoEditReachesTheAnswerBoxOnceItIsHiddenOrLeft)
{
    focusBox();
    insert("one");
    clickLine(0);
    EXPECT_FALSE(box()->selectionModel()->selectedIndexes().isEmpty());
    w.editor().commandBox()->setFocus(Qt::TabFocusReason);
    runPending();
    EXPECT_TRUE(box()->selectionModel()->selectedIndexes().isEmpty());
    EXPECT_FALSE(rig.answers().isSelected(0));

    // Selected again, then the tab hides.
    focusBox();
    clickLine(0);
    QWidget dialog; // the General settings dialog has the focus while the tab hides
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    rig.settings->nextGeneral.emplace().ExtendedLmx = false;
    w.DoGeneralSettingsExecute();
    dialog.close();
    QApplication::setActiveWindow(&w);
    QTest::keyClick(&w, Qt::Key_X, Qt::ControlModifier);
    w.sendReceiveFrame().ReceiveBox()->setFocus(Qt::MouseFocusReason);
    rig.actions().DoCutText->trigger();
    EXPECT_EQ(viewTexts(), (QStringList{"one", "<End>"}));
}

TEST_F(MainFormEdit, ATextFieldGetsTheEditMenuAndTheEnablingFollowsWhenTheUserInterfaceIsIdle)
{
    auto* field = new QLineEdit(w.centralWidget());
    field->setText(QStringLiteral("abc"));
    field->show();
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    runPending();
    MainActions& a = rig.actions();
    w.updateActions();
    EXPECT_TRUE(a.DoCutText->isEnabled());
    a.DoCutText->trigger();
    EXPECT_TRUE(field->text().isEmpty());
    w.updateActions();
    EXPECT_TRUE(a.DoUndoText->isEnabled());
    a.DoUndoText->trigger();
    EXPECT_EQ(field->text(), "abc");
    delete field;

    TOvelListBox* commandBox = w.editor().commandBox();
    commandBox->setFocus(Qt::MouseFocusReason);
    runPending();
    EXPECT_FALSE(a.DoExportTxt->isEnabled());
    EXPECT_FALSE(a.DoUndoText->isEnabled());
    // A change made outside any of the window's actions shows after the next events.
    rig.box().InsertCommandLine("'x'", "x");
    QTest::keyClick(commandBox, Qt::Key_Up);
    EXPECT_TRUE(waitUntil([&] { return a.DoExportTxt->isEnabled() && a.DoUndoText->isEnabled(); }));
}

TEST_F(MainFormEdit, HoldingDownMovesTheCursorByOneLineOnly)
{
    for (const std::string t : {"a", "b", "c", "d"})
        rig.box().InsertCommandLine("'" + t + "'", t);
    TOvelListBox* commandBox = w.editor().commandBox();
    commandBox->setFocus(Qt::MouseFocusReason);
    rig.box().list().setCursor(0);
    runPending();
    const int start = commandBox->currentIndex().row();

    auto send = [&](QEvent::Type type, bool autoRepeat, quint64 time = 0) {
        QKeyEvent e(type, Qt::Key_Down, Qt::NoModifier, QString(), autoRepeat);
        e.setTimestamp(time);
        QApplication::sendEvent(commandBox, &e);
    };
    // The first key-down moves; the system's repeats do not: marked ones, a key-down while
    // held, and a release and press with one time stamp (X11's repeat, often unmarked).
    const std::tuple<QEvent::Type, quint64, bool> held[] = {{QEvent::KeyPress, 100, false},
            {QEvent::KeyPress, 130, true}, {QEvent::KeyPress, 160, false}, {QEvent::KeyRelease, 200, false},
            {QEvent::KeyPress, 200, false}, {QEvent::KeyRelease, 260, false}, {QEvent::KeyPress, 260, false}};
    for (const auto& [type, time, marked] : held)
        send(type, marked, time);
    EXPECT_EQ(commandBox->currentIndex().row(), start + 1);
    EXPECT_TRUE(w.keyHeld());
    send(QEvent::KeyRelease, false);
    EXPECT_FALSE(w.keyHeld());
    for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease, QEvent::KeyPress, QEvent::KeyRelease})
        send(t, false); // key clicks without a time stamp are no repeats
    EXPECT_EQ(commandBox->currentIndex().row(), start + 3);

    // A modifier held does not count as a key.
    QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    QApplication::sendEvent(commandBox, &shift);
    EXPECT_FALSE(w.keyHeld());

    // Shortcuts keep working while a key is held.
    send(QEvent::KeyPress, false);
    QTest::keyClick(&w, Qt::Key_F2);
    EXPECT_EQ(rig.aboutBoxes, 1);
    send(QEvent::KeyRelease, false);
}

// The command box lost the focus to another window; the user came back by a click in the
// answer box: the Edit menu serves the answer box, not the command box's cursor line.
TEST_F(AnswerTab, CutFollowsTheAnswerBoxAfterAClickFromAnotherWindow)
{
    focusBox();
    insert("A=@");
    w.editor().commandBox()->setFocus(Qt::MouseFocusReason);
    runPending();
    ASSERT_TRUE(w.editor().commandBoxFocused()); // on its "<End>" marker: nothing to cut
    box()->setFocus(Qt::ActiveWindowFocusReason);
    runPending();
    clickLine(0);
    w.updateActions();
    MainActions& a = rig.actions();
    ASSERT_TRUE(a.DoCutText->isEnabled());
    a.DoCutText->trigger();
    EXPECT_EQ(viewTexts(), QStringList{"<End>"});
    EXPECT_EQ(rig.displayTexts(), std::vector<std::string>{"<End>"});
}

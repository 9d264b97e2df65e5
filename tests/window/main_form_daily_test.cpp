// The main window for daily use: its size and place, the save question, readable lines.
#include "main_form_support.h"

#include "editor/commands_frame.h"
#include "frames/line_tool_tips.h"
#include "protocol/vocabulary.h"
#include "tests/widgets/list_box_support.h"

#include <QSplitter>

#include <cmath>

using namespace mainformtest;

namespace {

QRect placeOf(QWidget* part) // in the window's client coordinates
{
    return {part->mapTo(part->window(), QPoint(0, 0)), part->size()};
}

using MainFormSize = QuietWindow;

void insertText(WindowRig& rig, const std::string& text)
{
    const lmx::CommandEntry line = lmx::textLine(text);
    rig.box().InsertCommandLine(line.displayText, line.commandLine);
}

} // namespace

// At its first size the parts stand where they stood in the window of fixed size.
TEST_F(MainFormSize, TheFirstSizeKeepsTheFixedWindowsArrangement)
{
    EXPECT_EQ(placeOf(w.CommandEditorGroup()), QRect(4, 52, 468, 279));
    EXPECT_EQ(placeOf(w.PageControl()), QRect(476, 52, 312, 279));
    EXPECT_EQ(placeOf(&w.sendReceiveFrame()), QRect(4, 335, 280, 213));
    EXPECT_EQ(placeOf(&w.commandsFrame()), QRect(288, 335, 500, 150));
}

TEST_F(MainFormSize, ALargerWindowGivesTheRoomToTheBoxesAndTheTabs)
{
    QWidget* const parts[] = {w.editor().commandBox(), w.PageControl(), w.sendReceiveFrame().ReceiveBox()};
    const QSize grown[] = {{150, 150}, {350, 150}, {500, 150}}; // the tabs take two thirds across
    std::vector<QSize> before;
    for (QWidget* part : parts)
        before.push_back(part->size());
    w.resize(1400, 1000);
    runPending();
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_GT(parts[i]->width(), before[i].width() + grown[i].width()) << i;
        EXPECT_GT(parts[i]->height(), before[i].height() + grown[i].height()) << i;
    }
}

TEST_F(MainFormSize, AGrownWindowShrinksBackToItsFirstSize)
{
    w.resize(1400, 1000);
    runPending();
    w.resize(w.firstSize());
    runPending();
    EXPECT_EQ(placeOf(&w.sendReceiveFrame()), QRect(4, 335, 280, 213));
}

TEST(MainFormPlace, ASizePlaceAndDivisionComeBackAtTheNextStart)
{
    WindowRig rig;
    TMainForm& first = rig.startQuietly();
    first.setGeometry(6, 30, 790, 760); // within the test screen of 800 x 800
    runPending();
    QWidget* handle = first.EditorSplitter()->handle(1); // dragged by the mouse to 400
    const QPoint to(1 + 400 - handle->x(), 20);
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(1, 20));
    QTest::mouseMove(handle, to);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, to);
    QSplitter* receive = first.ReceiveSplitter();
    receive->setSizes({330, receive->height() - receive->handleWidth() - 330});
    rig.close();
    rig.window.reset();
    TMainForm& again = rig.start();
    EXPECT_EQ(again.geometry(), QRect(6, 30, 790, 760));
    EXPECT_EQ(again.EditorSplitter()->sizes().value(0), 400);
    EXPECT_EQ(again.ReceiveSplitter()->sizes().value(0), 330);
}

TEST(MainFormPlace, AWindowStartedMaximisedGoesBackToItsKeptPlace)
{
    WindowRig rig;
    lmx::TGeneralSettings general;
    general.Window = {6, 30, 790, 600, true, 0, 0};
    TMainForm& w = rig.startQuietly(general);
    EXPECT_EQ(w.frameGeometry(), w.screen()->availableGeometry());
    w.showNormal();
    runPending();
    EXPECT_EQ(w.geometry(), QRect(6, 30, 790, 600));
}

// New and Load with a changed list: Cancel keeps the list, its name and its undo.
TEST_F(MainFormSize, CancellingTheSaveQuestionKeepsTheListItsNameAndItsUndo)
{
    ASSERT_TRUE(rig.load("'first'\r\n"));
    insertText(rig, "second");
    const std::vector<std::string> before = rig.displayTexts();
    for (const bool load : {false, true}) {
        rig.dialogs.setNextAnswer(UserDialogs::Answer::Cancel);
        load ? void(w.DoImportLmxExecute()) : w.DoNewFileExecute();
        EXPECT_EQ(rig.dialogs.lastText(), "File " + rig.path("list.lmx") + " has changed.\n\rSave changes ?");
        EXPECT_EQ(rig.dialogs.steps().last().kind, ScriptedDialogs::Kind::YesNoCancel);
        EXPECT_EQ(rig.displayTexts(), before);
        EXPECT_EQ(w.windowTitle(), rig.path("list.lmx") + "  Orvanta *");
    }
    w.editor().commandBox()->setFocus();
    w.updateActions();
    rig.actions().DoUndoText->trigger();
    EXPECT_EQ(rig.displayTexts(), (std::vector<std::string>{"'first'", "<End>"}));
}

// Yes saves and goes on, No goes on, a save that does not happen keeps the list.
TEST(NewOrLoadAnswers, TheListStaysOnlyWhenItIsNotGivenUp)
{
    using A = UserDialogs::Answer;
    const struct {
        const char* what;
        std::vector<A> answers;
        QString saveName;
        bool stays;
    } cases[] = {{"Yes, saved", {A::Yes}, "saved.lmx", false},
                 {"Yes, save cancelled", {A::Yes}, "", true},
                 {"No", {A::No}, "", false},
                 {"unchanged", {}, "", false}};
    for (const auto& c : cases) {
        WindowRig rig;
        TMainForm& w = rig.startQuietly();
        insertText(rig, "mine");
        rig.box().SetChanged(!c.answers.empty());
        for (const A a : c.answers)
            rig.dialogs.setNextAnswer(a);
        if (!c.answers.empty())
            rig.dialogs.setNextFileName(c.saveName.isEmpty() ? QString() : rig.path(c.saveName));
        w.DoNewFileExecute();
        EXPECT_EQ(rig.displayTexts().size(), c.stays ? 2u : 1u) << c.what;
        EXPECT_EQ(rig.dialogs.unexpected(), 0) << c.what;
        EXPECT_EQ(c.saveName.isEmpty() || WindowRig::readFile(rig.path(c.saveName)).rfind("'mine'", 0) == 0,
                  true) << c.what;
    }
}

// With the hex box focused, Ctrl+E and Del act on the cursor line as they do in the command box.
TEST_F(MainFormSize, EditDataAndDeleteReachTheCursorLineFromTheHexBox)
{
    ASSERT_TRUE(rig.load("'first'\r\n'second'\r\n"));
    TOvelListBox* hex = w.editor().hexBox();
    listboxtest::click(hex, 1);
    runPending();
    ASSERT_EQ(QApplication::focusWidget(), hex);
    rig.params->setNextReply(ScriptedParameterDialogs::type({"changed"}));
    QTest::keyClick(hex, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(rig.displayTexts(), (std::vector<std::string>{"'first'", "'changed'", "<End>"}));
    QTest::keyClick(hex, Qt::Key_Delete);
    EXPECT_EQ(rig.displayTexts(), (std::vector<std::string>{"'first'", "<End>"}));
}

TEST_F(MainFormSize, ALineEnteredAtTheLimitIsToldInTheStatusBar)
{
    insertText(rig, "short");
    EXPECT_EQ(w.statusText(), "Ready...");
    insertText(rig, std::string(2000, 'x'));
    EXPECT_EQ(w.statusText(), TMainForm::kLineLimitText);
}

// A line the box cannot show whole shows whole in its tool tip; one it shows has none.
TEST_F(MainFormSize, ALongLineShowsWholeInItsToolTip)
{
    insertText(rig, std::string(1000, 'x') + "<end of it>");
    insertText(rig, "short");
    runPending();
    TOvelListBox* box = w.editor().commandBox();
    EXPECT_EQ(LineToolTips::tipAt(box, box->visualRect(box->model()->index(0, 0)).center()), QString());
    const QString tip = LineToolTips::tipAt(box, box->visualRect(box->model()->index(1, 0)).topLeft() + QPoint(2, 2));
    EXPECT_TRUE(tip.contains("x&lt;end of it&gt;'")) << tip.right(40).toStdString();
}

// Every colour a line can have keeps three quarters of its contrast on white when selected.
TEST_F(MainFormSize, SelectedLinesStayReadableInTheirColours)
{
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const auto contrast = [&](const QColor& a, const QColor& b) {
        const double la = luminance(a), lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    };
    for (TOvelListBox* box : {w.editor().commandBox(), w.sendReceiveFrame().ReceiveBox()}) {
        const QColor selection = box->palette().color(QPalette::Normal, QPalette::Highlight);
        for (const char* text : {"SOT '01'", "STX '0A'", "SOP '01'", "SOL '01'", "ESC Font '1'", "'text'"}) {
            const QColor colour = QColor::fromRgb(lmx::fontColourOf(text));
            EXPECT_GE(contrast(colour, selection), 0.75 * contrast(colour, Qt::white)) << text;
        }
    }
}

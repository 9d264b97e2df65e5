// The main window for daily use: it grows with the screen and keeps its place, and New and
// Load offer a changed list for saving first.
#include "main_form_support.h"

#include "editor/commands_frame.h"
#include "protocol/vocabulary.h"
#include "window/line_tool_tips.h"
#include "tests/widgets/list_box_support.h"

#include <QGroupBox>

#include <cmath>
#include <QSplitter>
#include <QTabWidget>

using namespace mainformtest;

namespace {

// A part's place in the window's client coordinates.
QRect placeOf(QWidget* part)
{
    return {part->mapTo(part->window(), QPoint(0, 0)), part->size()};
}

using MainFormSize = QuietWindow;
using NewOrLoad = QuietWindow;

} // namespace

// At its first size the parts stand where they stood in the window of fixed size.
TEST_F(MainFormSize, TheFirstSizeKeepsTheFixedWindowsArrangement)
{
    EXPECT_EQ(w.size(), w.firstSize());
    EXPECT_EQ(placeOf(w.CommandEditorGroup()), QRect(4, 52, 468, 279));
    EXPECT_EQ(placeOf(w.PageControl()), QRect(476, 52, 312, 279));
    EXPECT_EQ(placeOf(&w.sendReceiveFrame()), QRect(4, 335, 280, 213));
    EXPECT_EQ(placeOf(&w.commandsFrame()), QRect(288, 335, 500, 150));
}

TEST_F(MainFormSize, ALargerWindowGivesTheRoomToTheBoxesAndTheTabs)
{
    const QSize commandBox = w.editor().commandBox()->size();
    const QSize tabs = w.PageControl()->size();
    const QSize receiveBox = w.sendReceiveFrame().ReceiveBox()->size();
    w.resize(1400, 1000);
    runPending();
    EXPECT_GT(w.editor().commandBox()->width(), commandBox.width() + 150);
    EXPECT_GT(w.editor().commandBox()->height(), commandBox.height() + 150);
    EXPECT_GT(w.PageControl()->width(), tabs.width() + 350); // two thirds of the width added
    EXPECT_GT(w.PageControl()->height(), tabs.height() + 150);
    EXPECT_GT(w.sendReceiveFrame().ReceiveBox()->width(), receiveBox.width() + 500);
    EXPECT_GT(w.sendReceiveFrame().ReceiveBox()->height(), receiveBox.height() + 150);
    EXPECT_EQ(w.commandsFrame().size(), QSize(TCommandsFrame::kWidth, TCommandsFrame::kHeight));
}

TEST_F(MainFormSize, AGrownWindowShrinksBackToItsFirstSize)
{
    w.resize(1400, 1000);
    runPending();
    w.resize(w.firstSize());
    runPending();
    EXPECT_EQ(w.size(), w.firstSize());
    EXPECT_EQ(placeOf(&w.sendReceiveFrame()), QRect(4, 335, 280, 213));
}

TEST(MainFormPlace, ASizePlaceAndDivisionComeBackAtTheNextStart)
{
    WindowRig rig;
    TMainForm& first = rig.startQuietly();
    // Within the test screen of 800 x 800.
    first.setGeometry(6, 30, 790, 760);
    runPending();
    // The handle dragged by the mouse to 400.
    QSplitter* editor = first.EditorSplitter();
    QWidget* handle = editor->handle(1);
    const int from = handle->x();
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(1, 20));
    QTest::mouseMove(handle, QPoint(1 + 400 - from, 20));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(1 + 400 - from, 20));
    ASSERT_EQ(editor->sizes().value(0), 400);
    QSplitter* receive = first.ReceiveSplitter();
    receive->setSizes({330, receive->height() - receive->handleWidth() - 330});
    const QList<int> across = first.EditorSplitter()->sizes();
    const QList<int> down = first.ReceiveSplitter()->sizes();
    rig.close();
    const std::string file = WindowRig::readFile(rig.settingsPath());
    EXPECT_NE(file.find("object TWindowSettings\r\n  Left = 6\r\n  Top = 30\r\n  Width = 790\r\n"
                        "  Height = 760\r\n  Maximized = False\r\n  EditorWidth = 400\r\n"
                        "  TopHeight = 330\r\n"),
              std::string::npos)
            << file;

    rig.window.reset();
    TMainForm& again = rig.start();
    EXPECT_TRUE(rig.dialogs.steps().isEmpty());
    EXPECT_EQ(again.geometry(), QRect(6, 30, 790, 760));
    EXPECT_EQ(again.EditorSplitter()->sizes(), across);
    EXPECT_EQ(again.ReceiveSplitter()->sizes(), down);
}

TEST(MainFormPlace, AMaximisedWindowComesBackMaximised)
{
    WindowRig rig;
    TMainForm& first = rig.startQuietly();
    first.showMaximized();
    runPending();
    rig.close();
    EXPECT_NE(WindowRig::readFile(rig.settingsPath()).find("  Maximized = True\r\n"), std::string::npos);
    rig.window.reset();
    EXPECT_TRUE(rig.start().isMaximized());
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

TEST(MainFormPlace, APlaceOffEveryScreenComesBackOnTheFirst)
{
    WindowRig rig;
    lmx::TGeneralSettings general;
    general.Window.Left = 90000;
    general.Window.Top = 90000;
    general.Window.Width = 790;
    general.Window.Height = 600;
    TMainForm& w = rig.startQuietly(general);
    EXPECT_TRUE(w.screen()->availableGeometry().contains(w.geometry())) << w.geometry().x();
    EXPECT_EQ(w.size(), QSize(790, 600));
}

// New and Load with a changed list: Yes saves first, No drops it, Cancel (or a save that does
// not happen) keeps the list, its name and its undo.
TEST_F(NewOrLoad, CancelKeepsTheListItsNameAndItsUndo)
{
    ASSERT_TRUE(rig.load("'first'\r\n"));
    rig.box().InsertCommandLine("'second'", "second");
    const std::vector<std::string> before = rig.displayTexts();
    const QString title = w.windowTitle();
    const std::function<void()> steps[] = {[&] { w.DoNewFileExecute(); },
                                           [&] { w.DoImportLmxExecute(); }};
    for (const auto& step : steps) {
        rig.dialogs.clear();
        rig.dialogs.setNextAnswer(UserDialogs::Answer::Cancel);
        step();
        EXPECT_EQ(rig.dialogs.texts(),
                  QStringList{"File " + rig.path("list.lmx") + " has changed.\n\rSave changes ?"});
        EXPECT_EQ(rig.dialogs.steps().first().kind, ScriptedDialogs::Kind::YesNoCancel);
        EXPECT_EQ(rig.displayTexts(), before);
        EXPECT_EQ(w.windowTitle(), title);
        EXPECT_EQ(w.statusText(), "Ready...");
    }
    w.editor().commandBox()->setFocus();
    runPending();
    w.updateActions();
    rig.actions().DoUndoText->trigger();
    EXPECT_EQ(rig.displayTexts(), (std::vector<std::string>{"'first'", "<End>"}));
}

TEST_F(NewOrLoad, NoDropsTheChangedList)
{
    rig.box().InsertCommandLine("'gone'", "gone");
    rig.dialogs.setNextAnswer(UserDialogs::Answer::No);
    w.DoNewFileExecute();
    EXPECT_EQ(rig.displayTexts(), std::vector<std::string>{"<End>"});
    EXPECT_EQ(w.windowTitle(), "NEWFILE.LMX  Orvanta");
    EXPECT_EQ(rig.dialogs.unexpected(), 0);
}

TEST_F(NewOrLoad, YesSavesTheListBeforeLoadingAnother)
{
    rig.box().InsertCommandLine("'keep me'", "keep me");
    WindowRig::writeFile(rig.path("next.lmx"), "'next'\r\n");
    rig.dialogs.setNextAnswer(UserDialogs::Answer::Yes);
    rig.dialogs.setNextFileName(rig.path("saved.lmx"));
    rig.dialogs.setNextFileName(rig.path("next.lmx"));
    EXPECT_TRUE(w.DoImportLmxExecute());
    EXPECT_EQ(WindowRig::readFile(rig.path("saved.lmx")).rfind("'keep me'\r\n", 0), 0u);
    EXPECT_EQ(rig.displayTexts(), (std::vector<std::string>{"'next'", "<End>"}));
    EXPECT_EQ(rig.dialogs.unexpected(), 0);
}

TEST_F(NewOrLoad, ASaveThatDoesNotHappenKeepsTheList)
{
    rig.box().InsertCommandLine("'unsaved'", "unsaved");
    rig.dialogs.setNextAnswer(UserDialogs::Answer::Yes);
    rig.dialogs.setNextFileName(QString()); // the save dialog cancelled
    w.DoNewFileExecute();
    EXPECT_EQ(rig.displayTexts(), (std::vector<std::string>{"'unsaved'", "<End>"}));
    EXPECT_TRUE(rig.box().Changed());
}

TEST_F(NewOrLoad, AnUnchangedListIsNotAskedAbout)
{
    ASSERT_TRUE(rig.load("'same'\r\n"));
    w.DoNewFileExecute();
    EXPECT_TRUE(rig.dialogs.steps().size() == 1); // the Load dialog only
    EXPECT_EQ(rig.displayTexts(), std::vector<std::string>{"<End>"});
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
    const lmx::CommandEntry shortLine = lmx::textLine("short");
    rig.box().InsertCommandLine(shortLine.displayText, shortLine.commandLine);
    EXPECT_EQ(w.statusText(), "Ready...");
    const lmx::CommandEntry longLine = lmx::textLine(std::string(2000, 'x'));
    rig.box().InsertCommandLine(longLine.displayText, longLine.commandLine);
    EXPECT_EQ(w.statusText(), TMainForm::kLineLimitText);
}

// A line the box cannot show whole shows whole in its tool tip; one it shows has none.
TEST_F(MainFormSize, ALongLineShowsWholeInItsToolTip)
{
    const lmx::CommandEntry longLine = lmx::textLine(std::string(1000, 'x') + "<end of it>");
    rig.box().InsertCommandLine(longLine.displayText, longLine.commandLine);
    const lmx::CommandEntry shortLine = lmx::textLine("short");
    rig.box().InsertCommandLine(shortLine.displayText, shortLine.commandLine);
    runPending();
    TOvelListBox* box = w.editor().commandBox();
    const QModelIndex first = box->model()->index(0, 0);
    const QModelIndex second = box->model()->index(1, 0);
    EXPECT_EQ(LineToolTips::tipAt(box, box->visualRect(first).center()), QString());
    const QString tip = LineToolTips::tipAt(box, box->visualRect(second).topLeft() + QPoint(2, 2));
    EXPECT_TRUE(tip.contains("x&lt;end of it&gt;'")) << tip.right(40).toStdString();
}

namespace {

double luminance(const QColor& c)
{
    const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

// Every colour a line can have keeps at least three quarters of its contrast on white when
// the line is selected.
TEST_F(MainFormSize, SelectedLinesStayReadableInTheirColours)
{
    const char* const texts[] = {"SOT '01'", "STX '0A'", "SOP '01'", "SOL '01'", "ESC Font '1'",
                                 "FPACK '00100'", "'text'", "HEX '41'"};
    for (TOvelListBox* box : {w.editor().commandBox(), w.sendReceiveFrame().ReceiveBox()}) {
        const QColor selection = box->palette().color(QPalette::Normal, QPalette::Highlight);
        for (const char* text : texts) {
            const QColor colour = QColor::fromRgb(lmx::fontColourOf(text));
            EXPECT_GE(contrast(colour, selection), 0.75 * contrast(colour, Qt::white))
                    << text << " on " << selection.name().toStdString();
        }
    }
}

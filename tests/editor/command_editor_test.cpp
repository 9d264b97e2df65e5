#include "commandbox/command_list_model.h"
#include "editor/command_editor.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_parameter_dialogs.h"
#include "tests/widgets/list_box_support.h"
#include "widgets/ovel_list_box.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using lmx::BlockKind;

namespace {

class CommandEditorViews : public ::testing::Test {
protected:
    ScriptedDialogs user;
    ScriptedParameterDialogs params;
    QWidget host;
    CommandEditor editor{user, params, &host};
    QAbstractItemModelTester modelTester{&editor.model(),
                                         QAbstractItemModelTester::FailureReportingMode::Fatal};
    QLineEdit* other = new QLineEdit(&host);

    void SetUp() override
    {
        auto* layout = new QHBoxLayout(&host);
        layout->addWidget(editor.commandBox());
        layout->addWidget(editor.hexBox());
        layout->addWidget(other);
        host.resize(600, 300);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    CommandBox& box() { return editor.box(); }
    CommandList& list() { return editor.box().list(); }
    void insertBlock(BlockKind kind)
    {
        params.setNextReply(ScriptedParameterDialogs::type({"01"}));
        editor.actions().insertAction(kind)->trigger();
    }
    void addTexts(int n)
    {
        for (int i = n - 1; i >= 0; --i)
            box().InsertCommandLine("'line " + std::to_string(i) + "'", "line");
    }
    QString shown(TOvelListBox* view, int row)
    {
        return editor.model().index(row).data(view->textRole()).toString();
    }
};

using Rows = std::vector<int>;

} // namespace

using namespace listboxtest;

TEST_F(CommandEditorViews, EveryChangeReachesTheModelAsRowSignals)
{
    QSignalSpy resets(&editor.model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&editor.model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&editor.model(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy moved(&editor.model(), &QAbstractItemModel::rowsMoved);
    QSignalSpy changed(&editor.model(), &QAbstractItemModel::dataChanged);
    QSignalSpy titles(&editor, &CommandEditor::titleChanged);

    insertBlock(BlockKind::Display);
    EXPECT_EQ(inserted.count(), 2);
    EXPECT_EQ(titles.count(), 1);
    EXPECT_EQ(titles.at(0).at(0).toString(), "NEWFILE.LMX  Orvanta *");
    box().InsertCommandLine("ESC F1 '1'", "\x09\x1B\xA0" "1");
    EXPECT_EQ(shown(editor.hexBox(), 0), "1B A0 31 ");
    EXPECT_EQ(shown(editor.commandBox(), 0), "ESC F1 '1'");
    EXPECT_EQ(editor.model().index(0).data(Qt::ForegroundRole).value<QColor>(), QColor(0x942578));
    EXPECT_EQ(editor.model().index(1).data(lbrole::Indent).toInt(), 2);

    box().ReplaceCommandLine("'A'", "A");
    EXPECT_EQ(shown(editor.hexBox(), 0), "41 ");
    EXPECT_EQ(changed.count(), 1);

    editor.clipboard().Undo();
    EXPECT_EQ(shown(editor.hexBox(), 0), "1B A0 31 ");
    EXPECT_EQ(changed.count(), 2);
    list().deselectAll();
    list().setSelected(0, true);
    editor.clipboard().Drop(3);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(shown(editor.commandBox(), 2), "ESC F1 '1'");
    editor.clipboard().Undo();
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(shown(editor.commandBox(), 0), "ESC F1 '1'");
    editor.clipboard().Undo();
    editor.clipboard().Undo();
    EXPECT_EQ(removed.count(), 2);
    EXPECT_EQ(resets.count(), 0);
}

// However long the list, an edit measures the lines it adds and those it brings into sight in
// either box, never the others: laying the boxes out again would measure all 10,000 lines.
TEST_F(CommandEditorViews, AnEditMeasuresOnlyTheLinesItTouches)
{
    CommandLines lines;
    for (int i = 0; i < 5000; ++i)
        lines.push_back(box().makeLine("'line " + std::to_string(i) + "'", "line", 2));
    list().insert(0, std::move(lines));
    editor.selectLines({2500});
    QCoreApplication::processEvents();
    CountingDelegate* commands = CountingDelegate::install(editor.commandBox());
    CountingDelegate* hex = CountingDelegate::install(editor.hexBox());
    auto step = [&](const char* what, auto&& edit) {
        commands->rows.clear();
        hex->rows.clear();
        edit();
        QCoreApplication::processEvents();
        editor.commandBox()->viewport()->repaint();
        editor.hexBox()->viewport()->repaint();
        EXPECT_LE(commands->rows.size() + hex->rows.size(), 4u) << what;
    };
    step("insert", [&] { box().InsertCommandLine("'inserted'", "inserted"); });
    ASSERT_EQ(list().line(2500).displayText, "'inserted'");
    step("delete", [&] { editor.actions().DoDeleteSingleCommand->trigger(); });
    step("undo", [&] { editor.clipboard().Undo(); });
    step("redo", [&] { editor.clipboard().Redo(); });
    step("move the cursor", [&] { editor.selectLines({2502}); });
    EXPECT_EQ(list().count(), 5001);
}

TEST_F(CommandEditorViews, AClickInTheHexBoxSelectsTheSameLineAndShiftDoubleClickSelectsABlock)
{
    insertBlock(BlockKind::Display);
    click(editor.commandBox(), 1);
    addTexts(3); // SOT, 3 lines, EOT, <End>
    click(editor.hexBox(), 2);
    EXPECT_EQ(list().cursor(), 2);
    EXPECT_EQ(list().selectedRange(), std::make_pair(2, 2));
    EXPECT_EQ(editor.commandBox()->currentIndex().row(), 2);
    EXPECT_FALSE(box().blockState().OnBlockCommand);
    EXPECT_TRUE(box().blockState().InDisplayBlock);

    click(editor.commandBox(), 4);
    EXPECT_EQ(list().cursor(), 4);
    EXPECT_EQ(selectedRows(editor.commandBox()), Rows({4}));
    EXPECT_TRUE(box().blockState().OnBlockCommand);

    // Shift+double-click on EOT selects the block for Delete Block Display only.
    QTest::mouseDClick(editor.commandBox()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                       centreOf(editor.commandBox(), 4));
    EXPECT_EQ(selectedRows(editor.commandBox()), Rows({0, 1, 2, 3, 4}));
    const CommandBoxActions& a = editor.actions();
    EXPECT_TRUE(a.DoDeleteBlockDisplay->isEnabled());
    EXPECT_TRUE(a.DoEnDelBlock->isEnabled());
    // The rest of the enabling is the block rules' (BlockEditing); here: that it reaches the actions.
    EXPECT_FALSE(a.DoDeleteBlockMessage->isEnabled() || a.DoInsertDisplay->isEnabled());

    user.setNextAnswer(UserDialogs::Answer::No);
    a.DoDeleteBlockDisplay->trigger(); // the markers go; the rest is BlockEditing's
    EXPECT_EQ(shown(editor.commandBox(), 0), "'line 0'");
    EXPECT_FALSE(a.DoDeleteBlockDisplay->isEnabled());

    // A double click without Shift edits the line.
    params.setNextReply(ScriptedParameterDialogs::type({"changed"}));
    QTest::mouseDClick(editor.commandBox()->viewport(), Qt::LeftButton, Qt::NoModifier,
                       centreOf(editor.commandBox(), 1));
    EXPECT_EQ(shown(editor.commandBox(), 1), "'changed'");
    EXPECT_EQ(selectedRows(editor.commandBox()), Rows({1}));
}

TEST_F(CommandEditorViews, ScrollingOneBoxScrollsTheOther)
{
    addTexts(200);
    QCoreApplication::processEvents();
    editor.hexBox()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_GT(editor.hexBox()->topRow(), 0);
    EXPECT_EQ(editor.commandBox()->topRow(), editor.hexBox()->topRow());

    editor.commandBox()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(editor.hexBox()->topRow(), editor.commandBox()->topRow());
}

TEST_F(CommandEditorViews, ShortcutsServeTheFocusedCommandBoxAndLosingTheFocusDeselects)
{
    EXPECT_FALSE(editor.actions().DoCommandBoxClear->isEnabled());

    addTexts(3);
    QApplication::setActiveWindow(&host);
    click(editor.commandBox(), 0);
    EXPECT_TRUE(editor.actions().DoCommandBoxClear->isEnabled());
    QTest::keyClick(editor.commandBox(), Qt::Key_Delete);
    EXPECT_EQ(list().count(), 3);
    EXPECT_EQ(shown(editor.commandBox(), 0), "'line 1'");
    QTest::keyClick(editor.commandBox(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(list().count(), 4);

    // Losing the focus deselects but keeps the cursor.
    click(editor.commandBox(), 1);
    ASSERT_TRUE(editor.commandBox()->hasFocus());
    EXPECT_TRUE(editor.commandBoxFocused());
    EXPECT_TRUE(editor.actions().DoCopyText->isEnabled());
    QTest::mouseDClick(editor.commandBox()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                       centreOf(editor.commandBox(), 1));
    ASSERT_TRUE(box().blockState().LinesSelected);

    other->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_FALSE(editor.commandBoxFocused());
    EXPECT_EQ(list().selectedCount(), 0);
    EXPECT_TRUE(selectedRows(editor.commandBox()).empty());
    EXPECT_EQ(list().cursor(), 1);
    EXPECT_EQ(editor.commandBox()->currentIndex().row(), 1);
    EXPECT_FALSE(editor.actions().DoCopyText->isEnabled());
    EXPECT_FALSE(box().blockState().LinesSelected); // the flags went with the highlight
}

TEST_F(CommandEditorViews, DroppingOnTheCommandBoxMovesTheSelectedLines)
{
    addTexts(4);
    click(editor.commandBox(), 0);
    std::unique_ptr<QMimeData> data(editor.commandBox()->dragMimeData());
    drag<QDragEnterEvent>(editor.commandBox(), 3, data.get());
    EXPECT_TRUE(drag<QDragMoveEvent>(editor.commandBox(), 3, data.get()));
    EXPECT_EQ(list().cursor(), 3);
    drag<QDropEvent>(editor.commandBox(), 3, data.get());
    EXPECT_EQ(shown(editor.commandBox(), 2), "'line 0'");
    EXPECT_EQ(shown(editor.hexBox(), 2), "6C 69 6E 65 ");
    EXPECT_EQ(selectedRows(editor.commandBox()), Rows({2}));

    // A drag that starts with a press on another line moves that line.
    QTest::mousePress(editor.commandBox()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      centreOf(editor.commandBox(), 0));
    emit editor.commandBox()->dragStarting();
    drag<QDragEnterEvent>(editor.commandBox(), 3, data.get());
    drag<QDropEvent>(editor.commandBox(), 3, data.get());
    EXPECT_EQ(shown(editor.commandBox(), 2), "'line 1'");
    QTest::mouseRelease(editor.commandBox()->viewport(), Qt::LeftButton, Qt::NoModifier,
                        centreOf(editor.commandBox(), 2));

    // A whole block dragged from one of its lines keeps its block flags.
    list().deselectAll();
    list().selectRange(0, 1);
    box().blockState().LinesSelected = true;
    emit editor.commandBox()->dragStarting();
    EXPECT_TRUE(box().blockState().LinesSelected);

    // The end line refuses to be dragged.
    click(editor.commandBox(), 4);
    EXPECT_FALSE(drag<QDragMoveEvent>(editor.commandBox(), 1, data.get()));
}

#include "command_box_support.h"

#include "dialogs/ask_data_rules.h"
#include "editor/edit_rules.h"

#include <gtest/gtest.h>

using lmx::BlockKind;
using Answer = UserDialogs::Answer;
using editrules::canDeleteBlock;
using editrules::canInsertBlock;

namespace {

using Flags = std::vector<bool>;

// What a rule allows for the display, message, page and line block, in that order.
Flags allowed(bool (*rule)(BlockKind, const BlockState&), const BlockState& s)
{
    Flags out;
    for (BlockKind k : lmx::kBlockKinds)
        out.push_back(rule(k, s));
    return out;
}

// SOT '01', 'a', 'b', EOT, <End>
void displayWithTwoLines(EditorRig& r)
{
    r.insertBlock(BlockKind::Display);
    r.click(1);
    r.insertText("b");
    r.insertText("a");
}

} // namespace

TEST(BlockEditing, InsertActionsFollowTheNestingRule)
{
    EditorRig r;
    EXPECT_EQ(allowed(canInsertBlock, r.state()), Flags({true, true, true, true}));
    r.insertBlock(BlockKind::Display);
    r.click(r.row("EOT"));
    EXPECT_EQ(allowed(canInsertBlock, r.state()), Flags({false, true, true, true}));
    // On the start marker the cursor is outside: the same kind may go in front again.
    r.click(r.row("SOT '01'"));
    EXPECT_EQ(allowed(canInsertBlock, r.state()), Flags({true, true, true, true}));

    r.click(r.row("EOT"));
    r.insertBlock(BlockKind::Message);
    r.click(r.row("ETX"));
    r.insertBlock(BlockKind::Line); // a line block straight inside a message block is fine
    r.click(r.row("EOL"));
    EXPECT_EQ(allowed(canInsertBlock, r.state()), Flags({false, false, false, false}));
    EXPECT_FALSE(editrules::canOpenInsertBlock(r.state()));
    r.click(r.row("ETX"));
    EXPECT_EQ(allowed(canInsertBlock, r.state()), Flags({false, false, true, true}));
    EXPECT_TRUE(editrules::canOpenInsertBlock(r.state()));
}

TEST(BlockEditing, InsertAndRenumberAskForTheNumberWithTheKindsCaptionAndLimits)
{
    EditorRig r;
    r.blocks.setNumberLimits(BlockKind::Page, {0x40, 3, 1});
    ASSERT_TRUE(r.insertBlock(BlockKind::Page, "3F"));
    ASSERT_EQ(r.params.askValueCalls().size(), 1u);
    const AskValueRequest& q = r.params.askValueCalls()[0];
    EXPECT_TRUE(q.askMode == AskMode::InsertHex2 && q.caption == "Hex. Page Number");
    EXPECT_TRUE(q.maximum == 0x40 && q.defaultValue == 3 && q.minimum == 1);
    EXPECT_EQ(r.texts(), Texts({"SOP '3F'", "EOP", "<End>"}));
    EXPECT_EQ(r.list().line(0).commandLine(), "\x0E" "3F");

    // Cancel, and a number the dialog refuses, change nothing.
    r.params.setNextReply(ScriptedParameterDialogs::cancel());
    EXPECT_FALSE(r.blocks.insertBlock(BlockKind::Display));
    EXPECT_FALSE(r.insertBlock(BlockKind::Display, "65")); // above 100
    EXPECT_EQ(r.list().count(), 3);
    EXPECT_EQ(r.params.askValueCalls()[1].maximum, 100);

    // Renumbering a start line replaces only that line.
    r.click(0);
    r.params.setNextReply(ScriptedParameterDialogs::type({"0a"}));
    ASSERT_TRUE(r.data.EditData());
    const AskValueRequest& e = r.params.askValueCalls().back();
    EXPECT_TRUE(e.askMode == AskMode::EditHex2 && e.currentText == "3F");
    EXPECT_EQ(r.texts(), Texts({"SOP '0A'", "EOP", "<End>"}));
    EXPECT_EQ(r.list().line(0).commandLine(), "\x0E" "0A");
    EXPECT_EQ(r.list().line(0).item.indent, 2);
    EXPECT_EQ(r.selectedRows(), Rows({0}));

    // A start line without an apostrophe opens an empty field.
    r.list().setEntry(0, "SOP", "\x0E" "0A");
    r.params.setNextReply(ScriptedParameterDialogs::cancel());
    EXPECT_FALSE(r.data.EditData());
    EXPECT_EQ(r.params.askValueCalls().back().currentText, "");
}

TEST(BlockEditing, FourNestedBlocksIndentAndShiftDoubleClickOnAMarkerSelectsItsWholeBlock)
{
    EditorRig r;
    r.nestAllFour();
    EXPECT_EQ(r.texts(), Texts({"SOT '01'", "STX '01'", "SOP '01'", "SOL '01'", "EOL", "EOP",
                                "ETX", "EOT", "<End>"}));
    EXPECT_EQ(r.indents(), Indents({2, 10, 18, 26, 26, 18, 10, 2, 2}));
    r.click(r.row("EOL")); // every flag, and the innermost indent
    const BlockState& s = r.state();
    EXPECT_TRUE(s.InDisplayBlock && s.InMessageBlock && s.InPageBlock && s.InLineBlock);
    EXPECT_EQ(r.box.IndentForInsert(), 34);

    r.shiftDoubleClick(r.row("EOT"));
    EXPECT_EQ(r.list().selectedRange(), std::make_pair(0, 7));
    EXPECT_EQ(r.list().selectedCount(), 8);
    EXPECT_TRUE(s.DisplayBlockSelected && s.BlockSelected);
    EXPECT_FALSE(s.OnBlockCommand);
    EXPECT_EQ(allowed(canDeleteBlock, s), Flags({true, false, false, false}));
    EXPECT_TRUE(editrules::canOpenDeleteBlock(s));
    EXPECT_EQ(allowed(canInsertBlock, s), Flags({false, false, false, false}));

    // From a start marker the selection runs down to its end marker.
    r.shiftDoubleClick(r.row("SOP '01'"));
    EXPECT_EQ(r.list().selectedRange(), std::make_pair(2, 5));
    EXPECT_EQ(allowed(canDeleteBlock, r.state()), Flags({false, false, true, false}));
    EXPECT_EQ(r.user.beeps(), 0);
}

TEST(BlockEditing, AMarkerWithoutPartnerSelectsToTheListsEdgeWithoutBlockFlag)
{
    EditorRig r;
    displayWithTwoLines(r);
    r.list().remove(3, 3); // the EOT
    r.shiftDoubleClick(0);
    EXPECT_EQ(r.list().selectedRange(), std::make_pair(0, r.list().count() - 1));
    EXPECT_FALSE(r.state().BlockSelected || r.state().DisplayBlockSelected
                 || r.state().LinesSelected);
    EXPECT_EQ(r.user.beeps(), 1);
    EXPECT_FALSE(editrules::canOpenDeleteBlock(r.state()));

    EditorRig e;
    displayWithTwoLines(e);
    e.list().remove(0, 0); // the SOT
    e.shiftDoubleClick(e.row("EOT"));
    EXPECT_EQ(e.list().selectedRange(), std::make_pair(0, e.row("EOT")));
    EXPECT_FALSE(e.state().BlockSelected);
    EXPECT_EQ(e.user.beeps(), 1);

    // Deleting such a selection never takes the end line with it.
    r.blocks.DeleteLines(BlockEditor::DeleteForm::SelectedLines);
    EXPECT_EQ(r.texts(), Texts({"<End>"}));
}

TEST(BlockEditing, DeleteWholeBlockAnsweredNoRemovesTheMarkersAndLowersTheContent)
{
    EditorRig r;
    r.nestAllFour();
    r.click(r.row("EOL"));
    r.insertText("deep");
    r.shiftDoubleClick(r.row("EOP"));
    r.user.setNextAnswer(Answer::No);
    r.blocks.deleteSelection();
    ASSERT_EQ(r.user.steps().size(), 1u);
    EXPECT_EQ(r.user.steps()[0].text, "Delete whole Block ??");
    EXPECT_EQ(r.texts(), Texts({"SOT '01'", "STX '01'", "SOL '01'", "'deep'", "EOL", "ETX", "EOT",
                                "<End>"}));
    EXPECT_EQ(r.indents(), Indents({2, 10, 18, 26, 18, 10, 2, 2}));
    EXPECT_EQ(r.list().cursor(), 2);
    EXPECT_EQ(r.selectedRows(), Rows({2}));
    EXPECT_TRUE(r.box.clipboard().empty());
    EXPECT_FALSE(r.state().BlockSelected); // UpdateSelectionFlags ran

    // Markers next to each other: nothing to lower, nothing removed.
    EditorRig a;
    a.insertBlock(BlockKind::Display);
    a.shiftDoubleClick(0);
    a.user.setNextAnswer(Answer::No);
    a.blocks.deleteSelection();
    EXPECT_EQ(a.texts(), Texts({"SOT '01'", "EOT", "<End>"}));
}

TEST(BlockEditing, ShiftDoubleClickOnAPlainLineSelectsThePlainLinesBelowItForDeleteSingle)
{
    EditorRig r;
    displayWithTwoLines(r);
    r.shiftDoubleClick(1);
    EXPECT_EQ(r.selectedRows(), Rows({1, 2}));
    EXPECT_TRUE(r.state().LinesSelected);
    EXPECT_FALSE(r.state().BlockSelected);
    EXPECT_TRUE(editrules::canCutOrCopy(r.state()));

    // On the end line nothing more is selected.
    r.shiftDoubleClick(r.list().count() - 1);
    EXPECT_EQ(r.selectedRows(), Rows({4}));
    EXPECT_FALSE(r.state().LinesSelected);

    // Delete Single removes the selected range, or the cursor line; never a marker.
    r.click(1);
    r.box.InsertCommandLine("'c'", "c"); // lands above 'a'
    EXPECT_FALSE(editrules::canDeleteSingle(r.list().line(0).displayText)
                 || editrules::canDeleteSingle("EOT") || editrules::canDeleteSingle("<End>"));
    EXPECT_TRUE(editrules::canDeleteSingle("'a'"));
    r.shiftDoubleClick(1); // 'c', 'a', 'b'
    ASSERT_EQ(r.selectedRows(), Rows({1, 2, 3}));
    r.blocks.DeleteSingle();
    EXPECT_EQ(r.texts(), Texts({"SOT '01'", "EOT", "<End>"}));
    EXPECT_EQ(r.box.clipboard().size(), 3u);
    EXPECT_EQ(r.selectedRows(), Rows({1}));
    EXPECT_TRUE(r.user.steps().isEmpty());

    // Nothing selected: the cursor line alone.
    r.click(0);
    r.insertText("z");
    r.list().deselectAll();
    r.blocks.DeleteSingle();
    EXPECT_EQ(r.texts(), Texts({"SOT '01'", "EOT", "<End>"}));
    EXPECT_EQ(r.box.clipboard().size(), 3u); // nothing was copied
}

TEST(BlockEditing, ClearWindowAndDeleteWholeBlockAskAndKeepAnUndoOrTheClipboard)
{
    EditorRig r;
    EXPECT_FALSE(editrules::canClearCommandBox(r.list().count()));
    displayWithTwoLines(r);
    EXPECT_TRUE(editrules::canClearCommandBox(r.list().count()));
    r.box.setFileName("a.lmx");
    r.shiftDoubleClick(0);
    r.clip.Copy();

    for (Answer a : {Answer::No, Answer::Cancel}) {
        r.user.setNextAnswer(a);
        EXPECT_FALSE(r.blocks.ClearWindow());
    }
    EXPECT_EQ(r.list().count(), 5);
    r.user.setNextAnswer(Answer::Yes);
    EXPECT_TRUE(r.blocks.ClearWindow());
    EXPECT_EQ(r.user.lastText(), "Are you sure you want to clear the window ??");
    EXPECT_EQ(r.texts(), Texts({"<End>"}));
    EXPECT_TRUE(r.box.clipboard().empty());
    EXPECT_EQ(r.box.fileName(), "a.lmx");
    EXPECT_TRUE(r.state().OnBlockCommand);

    ASSERT_TRUE(r.clip.canUndo());
    r.clip.Undo();
    EXPECT_EQ(r.list().count(), 5);

    // Delete whole block: Cancel keeps all, Yes keeps the block in the clipboard.
    r.shiftDoubleClick(0);
    r.user.setNextAnswer(Answer::Cancel);
    r.blocks.deleteSelection();
    EXPECT_EQ(r.list().count(), 5);
    r.shiftDoubleClick(0);
    r.user.setNextAnswer(Answer::Yes);
    r.blocks.deleteSelection();
    EXPECT_EQ(r.texts(), Texts({"<End>"}));
    ASSERT_EQ(r.box.clipboard().size(), 4u);
    EXPECT_EQ(r.box.clipboard()[1].displayText, "'a'");
    EXPECT_TRUE(r.box.clipboardState().DisplayBlockSelected);
    EXPECT_TRUE(r.box.Changed());
}

TEST(BlockEditing, ABlockFlagWhoseSelectionChangedSinceDeletesNothing)
{
    // The flags outlive the selection: focus loss deselects, an edit selects its own line.
    EditorRig r;
    displayWithTwoLines(r);
    r.shiftDoubleClick(r.row("EOT"));
    r.list().deselectAll();
    ASSERT_TRUE(canDeleteBlock(BlockKind::Display, r.state()));
    r.blocks.deleteSelection();
    EXPECT_EQ(r.list().count(), 5);
    EXPECT_EQ(r.user.beeps(), 1);
    EXPECT_TRUE(r.user.steps().isEmpty());
    EXPECT_FALSE(r.state().BlockSelected);

    r.shiftDoubleClick(r.row("EOT"));
    r.list().setCursor(2);
    r.params.setNextReply(ScriptedParameterDialogs::type({"B"}));
    ASSERT_TRUE(r.data.EditData());
    ASSERT_TRUE(r.state().DisplayBlockSelected);
    r.user.setNextAnswer(Answer::No);
    r.clip.Cut();
    EXPECT_EQ(r.texts(), Texts({"SOT '01'", "'a'", "'B'", "EOT", "<End>"}));
    EXPECT_EQ(r.user.pendingAnswers(), 1);
}

#include "command_box_support.h"

#include "editor/edit_rules.h"

#include <gtest/gtest.h>

using lmx::BlockKind;
using Answer = UserDialogs::Answer;

namespace {

// SOT '01', 'a', STX '01', 'm', ETX, EOT, <End>
void displayWithMessage(EditorRig& r)
{
    r.insertBlock(BlockKind::Display);
    r.click(r.row("EOT"));
    r.insertBlock(BlockKind::Message);
    r.click(r.row("ETX"));
    r.insertText("m");
    r.click(r.row("STX '01'"));
    r.insertText("a");
}

} // namespace

TEST(Clipboard, CopyOfAMarkerNeedsAWholeBlockThatPastesWhereItMayStandWithItsIndentation)
{
    EditorRig r;
    displayWithMessage(r);
    r.click(r.row("STX '01'"));
    EXPECT_FALSE(r.clip.canCutOrCopy());
    r.shiftDoubleClick(r.row("STX '01'"));
    ASSERT_TRUE(r.clip.canCutOrCopy());
    r.clip.Copy();
    ASSERT_EQ(r.box.clipboard().size(), 3u);
    EXPECT_TRUE(r.box.clipboardState().MessageBlockSelected);

    EXPECT_FALSE(r.clip.canPaste()); // the block is still selected
    r.click(r.row("'m'"));           // inside the message block
    EXPECT_FALSE(r.clip.canPaste());
    r.click(r.row("'a'"));           // inside the display block only
    EXPECT_TRUE(r.clip.canPaste());
    r.click(r.row("<End>"));
    EXPECT_TRUE(r.clip.canPaste());

    // Paste and Cut act on the selection, not on a stale highlight.
    r.click(r.row("'m'"));
    r.clip.Copy();
    const std::vector<int> indents = r.indents();
    r.shiftDoubleClick(r.row("STX '01'"));
    r.clip.Cut(); // Cancel: the block is no selection any more, nor is it highlighted
    EXPECT_EQ(r.list().selectedCount(), 1);
    // Lines highlighted beside the paste position keep their indent.
    r.list().selectRange(r.row("STX '01'"), r.row("ETX"));
    r.clip.Paste();
    r.clip.Cut();
    EXPECT_EQ(r.indents(), indents);

    // A display block cut and pasted at the end keeps its inner indentation.
    r.click(r.row("<End>"));
    r.insertText("after");
    ASSERT_EQ(r.indents(), Indents({2, 10, 10, 18, 10, 2, 2, 2}));

    r.shiftDoubleClick(r.row("EOT"));
    r.user.setNextAnswer(Answer::Yes);
    r.clip.Cut();
    EXPECT_EQ(r.texts(), Texts({"'after'", "<End>"}));

    r.click(r.row("<End>"));
    ASSERT_TRUE(r.clip.canPaste());
    r.clip.Paste();
    EXPECT_EQ(r.texts(), Texts({"'after'", "SOT '01'", "'a'", "STX '01'", "'m'", "ETX", "EOT",
                                "<End>"}));
    EXPECT_EQ(r.indents(), Indents({2, 2, 10, 10, 18, 10, 2, 2}));
    EXPECT_EQ(r.selectedRows(), Rows({1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(r.state().LinesSelected);
    EXPECT_EQ(r.clip.lastReindent().toIndent, 2);
    EXPECT_EQ(r.clip.lastReindent().selIndent, 2);
}

TEST(Clipboard, ClipboardRuleByKindOfCopiedLines)
{
    BlockState outside;
    outside.OnBlockCommand = false;
    BlockState inDisplay = outside;
    inDisplay.InDisplayBlock = true;
    BlockState inPage = inDisplay;
    inPage.InMessageBlock = inPage.InPageBlock = true;
    BlockState inLine = inDisplay;
    inLine.InLineBlock = true;

    ClipboardState display{}, message{}, page{}, line{}, marker{}, plain{};
    display.DisplayBlockSelected = message.MessageBlockSelected = true;
    page.PageBlockSelected = line.LineBlockSelected = true;
    marker.OnBlockCommand = true;
    plain.OnBlockCommand = false;
    display.OnBlockCommand = message.OnBlockCommand = page.OnBlockCommand = false;
    line.OnBlockCommand = false;

    const std::tuple<const ClipboardState&, const BlockState&, bool> cases[] = {
        {display, outside, true}, {display, inDisplay, false}, {message, inDisplay, true},
        {message, inPage, false}, {page, inPage, false},        {page, inDisplay, true},
        {page, inLine, false},    {line, inPage, true},         {line, inLine, false},
        {marker, outside, false}, {plain, inLine, true}};
    for (const auto& c : cases)
        EXPECT_EQ(editrules::clipboardRuleAllows(std::get<0>(c), std::get<1>(c)), std::get<2>(c))
            << "case " << &c - cases;

    EXPECT_FALSE(editrules::canPaste(outside, plain, true));
    BlockState afterPaste = outside;
    afterPaste.LinesSelected = true;
    EXPECT_FALSE(editrules::canPaste(afterPaste, plain, false));
}

TEST(Clipboard, PastedLinesTakeTheIndentOfTheirNewPlaceAndBlockPasteUntilTheNextClick)
{
    EditorRig r;
    r.insertText("y");
    r.insertText("x"); // 'x', 'y', <End>
    r.shiftDoubleClick(0);
    r.clip.Copy();
    r.click(r.row("<End>"));
    r.insertBlock(BlockKind::Display);
    r.click(r.row("EOT"));
    r.insertBlock(BlockKind::Line);
    r.click(r.row("EOL"));

    ASSERT_TRUE(r.clip.canPaste());
    r.clip.Paste();
    EXPECT_EQ(r.texts(), Texts({"'x'", "'y'", "SOT '01'", "SOL '01'", "'x'", "'y'", "EOL", "EOT",
                                "<End>"}));
    EXPECT_EQ(r.indents()[4], 18);
    EXPECT_EQ(r.indents()[5], 18);
    EXPECT_FALSE(r.list().isSelected(r.row("EOL")));
    EXPECT_FALSE(r.clip.canPaste());
    r.click(r.row("EOL"));
    EXPECT_TRUE(r.clip.canPaste());

    // One pasted line leaves Paste available, in front of that line.
    r.click(0);
    r.clip.Copy();
    r.click(r.row("EOT"));
    r.clip.Paste();
    EXPECT_FALSE(r.state().LinesSelected);
    EXPECT_TRUE(r.clip.canPaste());
}

TEST(Clipboard, UndoTakesBackTheLastStepFirst)
{
    EditorRig r;
    r.insertText("a");
    ASSERT_TRUE(r.clip.canUndo());
    r.clip.Undo();
    EXPECT_EQ(r.texts(), Texts({"<End>"}));
    EXPECT_FALSE(r.clip.canUndo());

    r.insertBlock(BlockKind::Display); // two insertions: EOT, then SOT
    r.clip.Undo();
    EXPECT_EQ(r.texts(), Texts({"EOT", "<End>"}));
    EXPECT_EQ(r.list().cursor(), 0);
    EXPECT_EQ(r.list().selectedCount(), 1); // the cursor line, the one the next edit acts on
    EXPECT_TRUE(r.list().isSelected(0));
    EXPECT_TRUE(r.state().OnBlockCommand); // UpdateSelectionFlags ran on the cursor line
    r.clip.Undo();
    EXPECT_EQ(r.texts(), Texts({"<End>"}));
    EXPECT_FALSE(r.clip.canUndo());
    r.clip.Redo();
    EXPECT_EQ(r.texts(), Texts({"EOT", "<End>"}));

    // A paste and a drop are undone as one step each.
    r.click(0);
    r.insertText("p");
    r.click(0);
    r.clip.Copy();
    r.click(r.row("<End>"));
    r.clip.Paste();
    EXPECT_EQ(r.list().count(), 4);
    r.clip.Undo();
    EXPECT_EQ(r.texts(), Texts({"'p'", "EOT", "<End>"}));

    // Steps that leave the list as it was keep the last real change undoable.
    EditorRig n;
    n.insertBlock(BlockKind::Display);
    n.click(2);
    n.insertText("x");
    n.click(0), n.clip.Drop(0); // onto its own place
    n.clip.Paste();             // nothing to paste
    n.user.setNextAnswer(Answer::No);
    n.shiftDoubleClick(1), n.clip.Cut(); // No to the adjacent markers
    n.click(3), n.blocks.DeleteSingle(); // the end line
    n.clip.Undo();
    EXPECT_EQ(n.texts(), Texts({"SOT '01'", "EOT", "<End>"}));
}

TEST(Clipboard, DroppingAWholeLineBlockIntoALineBlockIsRefusedPlainLinesAreReindented)
{
    EditorRig r;
    r.insertBlock(BlockKind::Display);
    r.click(r.row("EOT"));
    r.insertBlock(BlockKind::Line, "02");
    r.click(r.row("EOL"));
    r.insertText("in2");
    r.click(r.row("SOL '02'"));
    r.insertBlock(BlockKind::Line, "01");
    r.click(r.row("<End>"));
    r.insertText("plain");
    // SOT, SOL '01', EOL, SOL '02', 'in2', EOL, EOT, 'plain', <End>
    ASSERT_EQ(r.row("'in2'"), 4);

    r.shiftDoubleClick(r.row("SOL '01'"));
    ASSERT_TRUE(r.state().LineBlockSelected);
    EXPECT_FALSE(r.clip.dropAllowedAt(4));
    EXPECT_EQ(r.list().cursor(), 4); // the cursor followed the mouse
    EXPECT_TRUE(r.clip.dropAllowedAt(r.row("EOT")));

    // A drag that starts on a marker without a whole block is refused everywhere.
    r.click(r.row("EOT"));
    EXPECT_FALSE(r.clip.dropAllowedAt(r.row("'plain'")));

    r.click(r.row("'plain'"));
    ASSERT_TRUE(r.clip.dropAllowedAt(4));
    r.clip.Drop(4);
    EXPECT_EQ(r.texts(), Texts({"SOT '01'", "SOL '01'", "EOL", "SOL '02'", "'plain'", "'in2'",
                                "EOL", "EOT", "<End>"}));
    EXPECT_EQ(r.list().line(4).item.indent, 18);
    EXPECT_EQ(r.selectedRows(), Rows({4}));
    EXPECT_TRUE(r.box.Changed());
}

TEST(Clipboard, DropsKeepTheOrderOfTheMovedLinesAndNeverMoveTheEndLine)
{
    EditorRig r;
    for (const char* t : {"f", "e", "d", "c", "b", "a"})
        r.insertText(t); // a b c d e f <End>

    // Down: 'a' and 'b' in front of 'e'.
    r.shiftDoubleClick(0);
    r.list().deselectAll();
    r.list().selectRange(0, 1);
    r.clip.Drop(4);
    EXPECT_EQ(r.texts(), Texts({"'c'", "'d'", "'a'", "'b'", "'e'", "'f'", "<End>"}));
    EXPECT_EQ(r.selectedRows(), Rows({2, 3}));

    // Up: 'e' and 'f' with the end line selected too, in front of 'd'.
    r.list().deselectAll();
    r.list().selectRange(4, 6);
    r.clip.Drop(1);
    EXPECT_EQ(r.texts(), Texts({"'c'", "'e'", "'f'", "'d'", "'a'", "'b'", "<End>"}));
    EXPECT_EQ(r.selectedRows(), Rows({1, 2}));

    // Onto a line of the moved group: nothing moves.
    r.clip.Drop(2);
    EXPECT_EQ(r.texts(), Texts({"'c'", "'e'", "'f'", "'d'", "'a'", "'b'", "<End>"}));

    // Unselected lines inside the dragged range stay where they are.
    r.list().deselectAll();
    r.list().setSelected(0, true);
    r.list().setSelected(2, true);
    r.clip.Drop(5);
    EXPECT_EQ(r.texts(), Texts({"'e'", "'d'", "'a'", "'c'", "'f'", "'b'", "<End>"}));
    r.clip.Undo();
    EXPECT_EQ(r.texts(), Texts({"'c'", "'e'", "'f'", "'d'", "'a'", "'b'", "<End>"}));
}

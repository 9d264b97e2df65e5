#include "tests/editor/command_box_support.h"

#include "editor/command_file_io.h"
#include "editor/edit_rules.h"
#include "files/command_file_writer.h"

#include <gtest/gtest.h>

using lmx::BlockKind;

// One list from new: the end line alone, a display block in front of it, lines inserted at its
// markers, a line replaced, and the list cleared.
TEST(CommandBox, LinesGoInFrontOfTheCursorLineOrIntoTheBlockItEnds)
{
    EditorRig r;
    ASSERT_EQ(r.texts(), Texts({"<End>"}));
    EXPECT_EQ(r.list().cursor(), 0);
    EXPECT_TRUE(r.state().OnBlockCommand);
    EXPECT_FALSE(r.box.Changed());

    // A display block at the end line goes in front, the cursor on its start.
    ASSERT_TRUE(r.insertBlock(BlockKind::Display));
    EXPECT_EQ(r.texts(), Texts({"SOT '01'", "EOT", "<End>"}));
    EXPECT_EQ(r.indents(), Indents({2, 2, 2}));
    EXPECT_EQ(r.list().cursor(), 0);
    EXPECT_EQ(r.list().line(0).commandLine() + r.list().line(1).commandLine(), "\x01" "01\x04");
    EXPECT_EQ(r.list().line(0).item.fontColour, 0xFF0000u);
    EXPECT_TRUE(r.box.Changed());

    // At the end marker a line goes into the block; a second one at once lands above it.
    r.click(1);
    r.insertText("inside");
    EXPECT_EQ(r.texts(), Texts({"SOT '01'", "'inside'", "EOT", "<End>"}));
    EXPECT_EQ(r.list().line(1).item.indent, 10);
    EXPECT_EQ(r.list().cursor(), 1);
    r.insertText("above");
    EXPECT_EQ(r.texts(), Texts({"SOT '01'", "'above'", "'inside'", "EOT", "<End>"}));

    r.click(0); // SOT: outside its own block, the line goes in front of it
    EXPECT_FALSE(r.state().InDisplayBlock);
    r.insertText("before");
    EXPECT_EQ(r.list().line(0).displayText, "'before'");
    EXPECT_EQ(r.list().line(0).item.indent, 2);
    EXPECT_EQ(r.list().line(0).item.fontColour, 0x942578u);

    // Replace keeps colour and indent and takes an undo snapshot.
    r.click(2);
    const TLBItem before = r.list().line(2).item;
    r.box.ReplaceCommandLine("SOT '05'", "\x01" "05"); // a text that would choose red
    EXPECT_EQ(r.list().line(2).displayText, "SOT '05'");
    EXPECT_EQ(r.list().line(2).item.fontColour, before.fontColour);
    EXPECT_EQ(r.list().line(2).item.indent, 10);
    EXPECT_EQ(r.list().count(), 6);
    r.clip.Undo();
    EXPECT_EQ(r.list().line(2).displayText, "'above'");

    // Clear is an undo step of its own, resets the flags and empties the list.
    r.shiftDoubleClick(r.row("SOT '01'"));
    ASSERT_TRUE(r.state().BlockSelected);
    r.clip.Copy();
    ASSERT_TRUE(r.box.clipboardState().DisplayBlockSelected);
    r.box.ClearCommandBox();
    EXPECT_EQ(r.list().count(), 0);
    EXPECT_EQ(r.list().cursor(), -1);
    ASSERT_TRUE(r.box.canUndo());
    EXPECT_EQ(r.state(), BlockState{});
    EXPECT_FALSE(r.box.clipboardState().DisplayBlockSelected);
    // IsInBlock and the flags on an empty list.
    r.box.UpdateSelectionFlags();
    EXPECT_FALSE(r.state().InDisplayBlock);
    EXPECT_EQ(r.box.IndentForInsert(), 2);
}

// Long lines are cut to 1333 characters by both primitives; block tags count anywhere in a text.
TEST(CommandBox, LongLinesAreCutAndTagsAreFoundAnywhereInADisplayText)
{
    EditorRig r;
    const std::string longText(1334, 'x');
    const std::string longBytes(1400, 'y');
    r.box.InsertCommandLine(longText, longBytes);
    EXPECT_EQ(r.list().line(0).displayText.size(), 1333u);
    EXPECT_EQ(r.list().line(0).commandLine().size(), 1333u);

    r.box.ReplaceCommandLine(std::string(1333, 'z'), longBytes);
    EXPECT_EQ(r.list().line(0).displayText, std::string(1333, 'z'));
    EXPECT_EQ(r.list().line(0).commandLine().size(), 1400u); // 3 x 1333 - 1 = 3998: not cut
    r.box.ReplaceCommandLine(std::string(5000, 'w'), "ab");
    EXPECT_EQ(r.list().line(0).displayText.size(), 1333u);
    EXPECT_EQ(r.list().line(0).commandLine(), "ab");

    EXPECT_TRUE(CommandBox::IsBlockCommand("'CONSOLE'") && CommandBox::IsBlockCommand("<End>")
                && CommandBox::IsBlockCommand("SOT '01'")); // 'CONSOLE' contains SOL
    EXPECT_FALSE(CommandBox::IsBlockCommand("ESC Font '1'"));
    EXPECT_FALSE(editrules::canDeleteSingle("'CONSOLE'"));

    // 'CONSOLE' opens a line block for the scan, EOL closes it.
    r.box.newFile();
    r.list().clear();
    r.box.addLine("'CONSOLE'", "CONSOLE", 2);
    r.box.addLine("'a'", "a", 2);
    r.box.addLine("EOL", "\x0D", 2);
    r.box.addEndLine();
    r.click(1);
    EXPECT_TRUE(r.state().InLineBlock);
    EXPECT_TRUE(r.box.IsInBlock("SOL", "EOL"));

    // Scanning up, a line holding both tags counts as the end: outside.
    r.list().setEntry(0, "'SOL EOL'", "x");
    EXPECT_FALSE(r.box.IsInBlock("SOL", "EOL"));
    // Scanning down, a line holding both tags counts as a start: outside.
    r.list().setEntry(0, "'SOL'", "x");
    r.list().setEntry(2, "'EOL SOL'", "x");
    EXPECT_FALSE(r.box.IsInBlock("SOL", "EOL"));
}

TEST(CommandBox, ChangedFlagAndTitleFollowEditsNewFileAndFileName)
{
    EditorRig r;
    std::vector<std::string> titles;
    r.box.setTitleHandler([&](const std::string& t) { titles.push_back(t); });
    r.insertText("a");
    r.insertText("b"); // already changed: the title is not marked twice
    EXPECT_EQ(r.box.title(), "NEWFILE.LMX  Orvanta *");
    r.box.setFileName("/tmp/show.lmx");
    r.box.SetChanged(false);
    EXPECT_EQ(r.box.title(), "/tmp/show.lmx  Orvanta");
    r.box.ClearCommandBox();
    EXPECT_TRUE(r.box.Changed());
    r.box.newFile();
    EXPECT_EQ(titles, std::vector<std::string>({"NEWFILE.LMX  Orvanta *",
                                                "/tmp/show.lmx  Orvanta *",
                                                "/tmp/show.lmx  Orvanta",
                                                "/tmp/show.lmx  Orvanta *",
                                                "NEWFILE.LMX  Orvanta"}));
    EXPECT_EQ(r.texts(), Texts({"<End>"}));
    EXPECT_FALSE(r.box.canUndo());
    EXPECT_TRUE(r.box.clipboard().empty());
}

TEST(CommandBox, BlocksBalanceExactlyWhenTheSavedFileLoadsAgain)
{
    // The end line stands first: the list's line 1.
    const std::pair<std::vector<std::string>, int> cases[] = {
            {{"SOT '01'", "STX '01'", "'a'", "ETX", "EOT"}, 0}, {{"'a'", "EOT"}, 3},
            {{"STX '01'", "SOT '01'", "EOT", "ETX"}, 3}, {{"SOL '01'", "SOP '01'"}, 3},
            {{"SOT '01'", "STX '01'", "EOT"}, 3}};
    for (const auto& [texts, line] : cases) {
        CommandBox box;
        for (const std::string& text : texts)
            box.addLine(text, text, 2);
        EXPECT_EQ(unbalancedBlockLine(box), line) << texts[0];
        lmx::KeySet keys;
        const std::string file = lmx::commandFileText(commandFileLines(box), {}, true);
        EXPECT_EQ(lmx::parseCommandFile(file, "f", keys).ok(), line == 0) << texts[0];
    }
}

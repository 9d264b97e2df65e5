// The answer box's editing steps without a window: insert and edit around the current line,
// delete, clear and one-step undo, the answer clipboard, moving lines by a drop, and the end
// marker that never moves, never is copied and never goes.
#include "editor/answer_box_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

Texts shown(const AnswerBoxEditor& e)
{
    Texts out;
    for (const AnswerBoxEditor::Line& l : e.templates().lines())
        out.push_back(l.shownText);
    return out;
}

std::vector<int> selected(const AnswerBoxEditor& e)
{
    std::vector<int> out;
    for (int i = 0; i < e.count(); ++i)
        if (e.isSelected(i))
            out.push_back(i);
    return out;
}

// A box holding A, B, C, D and the end marker, current line `current` selected alone.
AnswerBoxEditor abcd(int current = 0)
{
    AnswerBoxEditor e;
    e.assign({"A", "B", "C", "D", "<End>"});
    e.setCurrent(current);
    e.setSelected(current, true);
    return e;
}

void select(AnswerBoxEditor& e, std::vector<int> rows, int current)
{
    std::vector<char> flags(static_cast<size_t>(e.count()), 0);
    for (int r : rows)
        flags[static_cast<size_t>(r)] = 1;
    e.setSelection(flags, current);
}

} // namespace

TEST(AnswerBoxEditor, StartsAndResetsWithTheEndMarkerAlone)
{
    AnswerBoxEditor e;
    EXPECT_EQ(shown(e), Texts{"<End>"});
    EXPECT_FALSE(e.holdsMoreThanEndMarker());
    EXPECT_FALSE(e.canEdit());

    // A loaded answer section without its end marker gets one.
    e.assign({"T=@@"});
    EXPECT_EQ(shown(e), (Texts{"T=@@", "<End>"}));
    e.copy();
    e.takeSnapshot();
    e.reset();
    EXPECT_EQ(shown(e), Texts{"<End>"});
    EXPECT_TRUE(e.clipboardEmpty());
    EXPECT_TRUE(e.snapshotEmpty());
}

TEST(AnswerBoxEditor, InsertGoesBeforeTheCurrentLineWhichKeepsItsSelection)
{
    AnswerBoxEditor e = abcd(2);
    e.insertText("new");
    EXPECT_EQ(shown(e), (Texts{"A", "B", "new", "C", "D", "<End>"}));
    EXPECT_EQ(e.current(), 3);
    EXPECT_EQ(selected(e), std::vector<int>{3});
    EXPECT_EQ(e.line(2).templateText, "new");

    // On the end marker it appends before it.
    e.setCurrent(5);
    e.insertText("last");
    EXPECT_EQ(shown(e).back(), "<End>");
    EXPECT_EQ(shown(e)[5], "last");
}

TEST(AnswerBoxEditor, EditAndDeleteAreRefusedOnTheEndMarker)
{
    AnswerBoxEditor e = abcd(4);
    EXPECT_TRUE(e.isEndMarkerRow(4));
    EXPECT_FALSE(e.canEdit());
    e.editText("x");
    e.deleteCurrent();
    EXPECT_EQ(shown(e), (Texts{"A", "B", "C", "D", "<End>"}));
    EXPECT_TRUE(e.snapshotEmpty());

    // A line that shows "<End>" anywhere counts as the end marker.
    e.assign({"x <End> y", "<End>"});
    e.setCurrent(0);
    EXPECT_FALSE(e.canEdit());
}

TEST(AnswerBoxEditor, EditReplacesTemplateAndTextAndDeleteCanBeUndone)
{
    AnswerBoxEditor e = abcd(1);
    e.fill("xyz");
    e.editText("B=@");
    EXPECT_EQ(e.line(1).templateText, "B=@");
    EXPECT_EQ(e.line(1).shownText, "B=@");

    e.deleteCurrent();
    EXPECT_EQ(shown(e), (Texts{"A", "C", "D", "<End>"}));
    EXPECT_EQ(e.current(), 1); // the next line
    EXPECT_EQ(selected(e), std::vector<int>{1});
    e.undo();
    EXPECT_EQ(shown(e), (Texts{"A", "B=@", "C", "D", "<End>"}));
    EXPECT_TRUE(e.snapshotEmpty());
}

TEST(AnswerBoxEditor, ClearThenUndoBringsTheLinesBackOnce)
{
    AnswerBoxEditor e = abcd(0);
    e.fill("1234");
    e.copy();
    e.clearAll();
    EXPECT_EQ(shown(e), Texts{"<End>"});
    EXPECT_TRUE(e.clipboardEmpty());
    e.undo();
    // The lines come back as they were shown, filled values included.
    EXPECT_EQ(shown(e), (Texts{"A", "B", "C", "D", "<End>"}));
    EXPECT_TRUE(e.snapshotEmpty());
    e.undo(); // nothing left to undo
    EXPECT_EQ(e.count(), 5);
}

TEST(AnswerBoxEditor, CopyTakesTheRangeWithoutTheEndMarkerAndPastePutsItBeforeTheSelection)
{
    AnswerBoxEditor e = abcd();
    // B and D selected: the range B..D is copied, C with it; the end marker never.
    select(e, {1, 3, 4}, 3);
    e.copy();
    ASSERT_EQ(e.clipboard().size(), 3u);
    EXPECT_EQ(e.clipboard()[0].templateText, "B");
    EXPECT_EQ(e.clipboard()[2].templateText, "D");

    select(e, {0}, 0);
    e.paste();
    EXPECT_EQ(shown(e), (Texts{"B", "C", "D", "A", "B", "C", "D", "<End>"}));
    // The pasted lines are selected, the line they went before is not.
    EXPECT_EQ(selected(e), (std::vector<int>{0, 1, 2}));
    e.undo();
    EXPECT_EQ(shown(e), (Texts{"A", "B", "C", "D", "<End>"}));
}

TEST(AnswerBoxEditor, CopyAndPasteWithoutSelectionUseTheCurrentLine)
{
    AnswerBoxEditor e = abcd();
    select(e, {}, 2);
    e.copy();
    ASSERT_EQ(e.clipboard().size(), 1u);
    EXPECT_EQ(e.clipboard()[0].templateText, "C");
    select(e, {}, 0);
    e.paste();
    EXPECT_EQ(shown(e), (Texts{"C", "A", "B", "C", "D", "<End>"}));
}

TEST(AnswerBoxEditor, CutRemovesExactlyWhatItCopied)
{
    AnswerBoxEditor e = abcd();
    select(e, {1, 2}, 2);
    e.cut();
    EXPECT_EQ(shown(e), (Texts{"A", "D", "<End>"}));
    // A paste at the end marker puts the lines back as they were shown.
    select(e, {2}, 2);
    e.paste();
    EXPECT_EQ(shown(e), (Texts{"A", "D", "B", "C", "<End>"}));
    EXPECT_EQ(e.line(2).templateText, "B");

    // The end marker inside the range stays.
    AnswerBoxEditor f = abcd();
    select(f, {3, 4}, 3);
    f.cut();
    EXPECT_EQ(shown(f), (Texts{"A", "B", "C", "<End>"}));
}

TEST(AnswerBoxEditor, DropMovesTheSelectedLinesInFrontOfTheTarget)
{
    struct Case {
        std::vector<int> selection;
        int target;
        Texts expected;
        std::vector<int> selectedAfter;
    } const cases[] = {
        {{2, 3}, 0, {"C", "D", "A", "B", "<End>"}, {0, 1}},  // up, order kept
        {{0, 2}, 4, {"B", "D", "A", "C", "<End>"}, {2, 3}},  // down, before the end marker
        {{1, 3}, 2, {"A", "B", "C", "D", "<End>"}, {1, 3}},  // inside the range: nothing
        {{3, 4}, 0, {"D", "A", "B", "C", "<End>"}, {0}},     // the end marker never moves
    };
    for (const Case& c : cases) {
        AnswerBoxEditor e = abcd();
        select(e, c.selection, c.selection.front());
        e.drop(c.target);
        EXPECT_EQ(shown(e), c.expected) << c.target;
        EXPECT_EQ(selected(e), c.selectedAfter) << c.target;
        EXPECT_FALSE(e.snapshotEmpty());
        e.undo();
        EXPECT_EQ(shown(e), (Texts{"A", "B", "C", "D", "<End>"}));
    }
}

TEST(AnswerBoxEditor, TemplatesForSavingIgnoreFilledValues)
{
    AnswerBoxEditor e;
    e.assign({"T=@@", "V=@", "<End>"});
    EXPECT_TRUE(e.fill("123"));
    EXPECT_EQ(shown(e), (Texts{"T=12", "V=3", "<End>"}));
    EXPECT_EQ(e.templateTexts(), (Texts{"T=@@", "V=@", "<End>"}));
    e.restore();
    EXPECT_EQ(shown(e), (Texts{"T=@@", "V=@", "<End>"}));
}

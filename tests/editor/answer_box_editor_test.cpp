// The answer box's editing steps without a window: insert and edit around the current line,
// delete, clear and one-step undo, the answer clipboard, moving lines by a drop, and the end
// marker that never moves, never is copied and never goes.
#include "command_box_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const Texts kAbcd = {"A", "B", "C", "D", "<End>"};

Rows selected(const AnswerBoxEditor& e)
{
    Rows out;
    for (int i = 0; i < e.count(); ++i)
        if (e.isSelected(i))
            out.push_back(i);
    return out;
}

void select(AnswerBoxEditor& e, const Rows& rows, int current)
{
    std::vector<char> flags(static_cast<size_t>(e.count()), 0);
    for (int r : rows)
        flags[static_cast<size_t>(r)] = 1;
    e.setSelection(flags, current);
}

} // namespace

TEST(AnswerBoxEditor, EndMarkerAloneAtTheStartNeverEditableAndFilledValuesNotSaved)
{
    AnswerBoxEditor e;
    EXPECT_EQ(shownTexts(e), Texts{"<End>"});
    EXPECT_FALSE(e.holdsMoreThanEndMarker());
    EXPECT_FALSE(e.canEdit());

    // A loaded answer section without its end marker gets one.
    e.assign({"T=@@"});
    EXPECT_EQ(shownTexts(e), (Texts{"T=@@", "<End>"}));
    e.copy();
    e.takeSnapshot();
    e.reset();
    EXPECT_EQ(shownTexts(e), Texts{"<End>"});
    EXPECT_TRUE(e.clipboardEmpty());
    EXPECT_TRUE(e.snapshotEmpty());

    // Any line that shows the end marker cannot be edited.
    e.assign(kAbcd);
    e.setCurrent(4);
    EXPECT_TRUE(e.isEndMarkerRow(4));
    EXPECT_FALSE(e.canEdit());
    e.assign({"x <End> y", "<End>"});
    e.setCurrent(0);
    EXPECT_FALSE(e.canEdit());

    // The templates for saving ignore filled values.
    e.assign({"T=@@", "V=@", "<End>"});
    EXPECT_TRUE(e.fill("123"));
    EXPECT_EQ(shownTexts(e), (Texts{"T=12", "V=3", "<End>"}));
    EXPECT_EQ(e.templateTexts(), (Texts{"T=@@", "V=@", "<End>"}));
    e.restore();
    EXPECT_EQ(shownTexts(e), (Texts{"T=@@", "V=@", "<End>"}));
}

// Each step on A, B, C, D and the end marker: the lines (shown and templates) after it, the
// selection, the current line, the clipboard, and what one undo gives back. Undo works once.
TEST(AnswerBoxEditor, EachStepAndItsUndo)
{
    using Step = std::function<void(AnswerBoxEditor&)>;
    struct Case {
        const char* name;
        Rows selection;
        int current;
        Step step;
        Texts after;
        Rows selectedAfter;
        int currentAfter;
        Texts clipboard;
        Texts undone; // empty: refused, nothing to undo
    } const cases[] = {
        // before the current line, which keeps its selection; on the end marker: before it
        {"insert", {2}, 2, [](auto& e) { e.insertText("new"); },
         {"A", "B", "new", "C", "D", "<End>"}, {3}, 3, {}, kAbcd},
        {"insert at the end", {4}, 4, [](auto& e) { e.insertText("last"); },
         {"A", "B", "C", "D", "last", "<End>"}, {5}, 5, {}, kAbcd},
        {"edit and delete the end marker", {4}, 4,
         [](auto& e) { e.editText("x"), e.deleteCurrent(); }, kAbcd, {4}, 4, {}, {}},
        // editing replaces the template and the filled text
        {"edit", {1}, 1, [](auto& e) { e.fill("xyz"), e.editText("B=@"); },
         {"A", "B=@", "C", "D", "<End>"}, {1}, 1, {}, kAbcd},
        {"delete", {1}, 1, [](auto& e) { e.deleteCurrent(); },
         {"A", "C", "D", "<End>"}, {1}, 1, {}, kAbcd},
        // the lines come back as they were shown, filled values included; the clipboard goes
        {"clear", {0}, 0, [](auto& e) { e.fill("1234"), e.copy(), e.clearAll(); },
         {"<End>"}, {}, 0, {}, kAbcd},
        // B and D selected: the range B..D is copied, C with it, the end marker never; the
        // pasted lines are selected, the line they went before is not
        {"copy a range", {1, 3, 4}, 3, [](auto& e) { e.copy(), select(e, {0}, 0), e.paste(); },
         {"B", "C", "D", "A", "B", "C", "D", "<End>"}, {0, 1, 2}, 0, {"B", "C", "D"}, kAbcd},
        {"copy the current line", {}, 2, [](auto& e) { e.copy(), select(e, {}, 0), e.paste(); },
         {"C", "A", "B", "C", "D", "<End>"}, {0}, 0, {"C"}, kAbcd},
        {"cut", {1, 2}, 2, [](auto& e) { e.cut(); }, {"A", "D", "<End>"}, {1}, 1, {"B", "C"},
         kAbcd},
        // a paste at the end marker puts the lines back as they were shown
        {"cut and paste at the end", {1, 2}, 2,
         [](auto& e) { e.cut(), select(e, {2}, 2), e.paste(); }, {"A", "D", "B", "C", "<End>"},
         {2, 3}, 2, {"B", "C"}, {"A", "D", "<End>"}},
        {"cut up to the end marker", {3, 4}, 3, [](auto& e) { e.cut(); },
         {"A", "B", "C", "<End>"}, {3}, 3, {"D"}, kAbcd},
        // a drop moves the selection in front of the target, the end marker never
        {"drop up", {2, 3}, 2, [](auto& e) { e.drop(0); }, {"C", "D", "A", "B", "<End>"}, {0, 1}, 0,
         {}, kAbcd},
        {"drop down", {0, 2}, 0, [](auto& e) { e.drop(4); }, {"B", "D", "A", "C", "<End>"}, {2, 3},
         2, {}, kAbcd},
        {"drop inside", {1, 3}, 1, [](auto& e) { e.drop(2); }, kAbcd, {1, 3}, 1, {}, kAbcd},
        {"drop on the first", {1, 3}, 1, [](auto& e) { e.drop(1); }, kAbcd, {1, 3}, 1, {}, kAbcd},
        {"drop the end marker", {3, 4}, 3, [](auto& e) { e.drop(0); },
         {"D", "A", "B", "C", "<End>"}, {0}, 0, {}, kAbcd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AnswerBoxEditor e;
        e.assign(kAbcd);
        select(e, c.selection, c.current);
        c.step(e);
        EXPECT_EQ(shownTexts(e), c.after);
        EXPECT_EQ(e.templateTexts(), c.after);
        EXPECT_EQ(selected(e), c.selectedAfter);
        EXPECT_EQ(e.current(), c.currentAfter);
        Texts clipboard;
        for (const AnswerBoxEditor::Line& l : e.clipboard())
            clipboard.push_back(l.templateText);
        EXPECT_EQ(clipboard, c.clipboard);
        EXPECT_EQ(e.snapshotEmpty(), c.undone.empty());
        e.undo();
        e.undo();
        EXPECT_EQ(shownTexts(e), c.undone.empty() ? c.after : c.undone);
        EXPECT_TRUE(e.snapshotEmpty());
    }
}

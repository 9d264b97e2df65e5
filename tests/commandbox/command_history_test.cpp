#include "tests/editor/command_box_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// Records the inverse of each change, as the history does.
struct Inverses : ListRecorder {
    std::vector<ListEdit> edits;
    void record(ListEdit&& inverse) override { edits.push_back(std::move(inverse)); }
};

CommandList listOf(const Texts& texts)
{
    CommandBox box;
    CommandList list;
    for (const std::string& t : texts)
        list.append(box.makeLine(t, t, 2));
    return list;
}

std::vector<int> indentsOf(const CommandList& list)
{
    std::vector<int> out;
    for (const CommandBoxLine& l : list.lines())
        out.push_back(l.item.indent);
    return out;
}

// The box's lines 0..n-1 are "L0".."Ln-1", then the end line.
void fill(EditorRig& r, int n)
{
    for (int i = n - 1; i >= 0; --i)
        r.insertText("L" + std::to_string(i));
}

} // namespace

// Each change of the list, undone by applying what it recorded, leaves the lines (texts and
// indents) as they were; applying the inverses of that makes the change again.
TEST(ListEdits, EachChangeIsUndoneByTheEditItRecords)
{
    CommandBox maker;
    const struct {
        const char* name;
        std::function<void(CommandList&)> change;
    } cases[] = {
            {"insert", [&](CommandList& l) { l.insert(1, maker.makeLine("new", "new", 4)); }},
            {"remove", [](CommandList& l) { l.remove(1, 2); }},
            {"move down", [](CommandList& l) { l.move(0, 3); }},
            {"move up", [](CommandList& l) { l.move(3, 1); }},
            {"set entry", [](CommandList& l) { l.setEntry(2, "other", "bytes"); }},
            {"set indent", [](CommandList& l) { l.setIndent(3, 30); }},
            {"shift selected", [](CommandList& l) {
                 l.setSelected(1, true), l.setSelected(3, true);
                 l.shiftIndents(0, 3, 8, true);
             }},
            {"clear", [](CommandList& l) { l.clear(); }},
    };
    for (const auto& c : cases) {
        CommandList list = listOf({"a", "b", "c", "d"});
        const CommandLines before = list.lines();
        Inverses undo;
        list.setRecorder(&undo);
        c.change(list);
        const CommandLines after = list.lines();
        ASSERT_FALSE(undo.edits.empty()) << c.name;
        Inverses redo;
        list.setRecorder(&redo);
        for (auto it = undo.edits.rbegin(); it != undo.edits.rend(); ++it)
            list.apply(std::move(*it));
        EXPECT_EQ(list.lines(), before) << c.name;
        EXPECT_EQ(indentsOf(list), indentsOf(listOf({"a", "b", "c", "d"}))) << c.name;
        list.setRecorder(nullptr);
        for (auto it = redo.edits.rbegin(); it != redo.edits.rend(); ++it)
            list.apply(std::move(*it));
        EXPECT_EQ(list.lines(), after) << c.name;
    }
}

TEST(ListEdits, AChangeToTheSameValueRecordsNothing)
{
    CommandList list = listOf({"a", "b"});
    Inverses undo;
    list.setRecorder(&undo);
    list.setEntry(0, "a", "a");
    list.setIndent(1, 2);
    list.shiftIndents(0, 1, 5, true); // nothing selected
    EXPECT_TRUE(undo.edits.empty());
}

TEST(CommandHistory, ThirtyDeletesAreTakenBackByThirtyUndos)
{
    EditorRig r;
    fill(r, 40);
    const Texts loaded = r.texts();
    r.click(5);
    for (int i = 0; i < 30; ++i)
        r.blocks.DeleteSingle();
    const Texts deleted = r.texts();
    ASSERT_EQ(deleted.size(), loaded.size() - 30);
    for (int i = 0; i < 30; ++i)
        r.clip.Undo();
    EXPECT_EQ(r.texts(), loaded);
    EXPECT_EQ(r.box.history().redoSteps(), 30u);
    for (int i = 0; i < 30; ++i)
        r.clip.Redo();
    EXPECT_EQ(r.texts(), deleted);
    EXPECT_FALSE(r.clip.canRedo());
}

TEST(CommandHistory, ANewChangeAfterUndoCannotBeFollowedByRedo)
{
    EditorRig r;
    fill(r, 3);
    r.clip.Undo();
    ASSERT_TRUE(r.clip.canRedo());
    r.click(0);
    r.insertText("new");
    EXPECT_FALSE(r.clip.canRedo());
    r.clip.Undo();
    EXPECT_EQ(r.texts(), Texts({"'L1'", "'L2'", "<End>"}));
}

TEST(CommandHistory, OnlyTheNewestStepsAreKeptBeyondTheLimit)
{
    EditorRig r;
    const int steps = static_cast<int>(CommandHistory::kMaxSteps);
    fill(r, steps + 5);
    EXPECT_EQ(r.box.history().undoSteps(), CommandHistory::kMaxSteps);
    for (int i = 0; i < steps; ++i)
        r.clip.Undo();
    EXPECT_FALSE(r.clip.canUndo());
    EXPECT_EQ(r.list().count(), 6); // the five oldest lines and the end line stay
}

// A change nothing recorded (a file read into the list) makes the steps before it impossible
// to replay: they are gone, and so is New File's history.
TEST(CommandHistory, AChangeOutsideAStepEmptiesTheHistory)
{
    EditorRig r;
    fill(r, 3);
    r.clip.Undo();
    r.box.addLine("'read'", "read", 2);
    EXPECT_FALSE(r.clip.canUndo());
    EXPECT_FALSE(r.clip.canRedo());
    fill(r, 2);
    r.box.newFile();
    EXPECT_FALSE(r.clip.canUndo());
}

#include "tests/editor/command_box_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every report in the order it comes, checking that each "about to" has its "done".
class Recorder : public CommandListObserver {
public:
    std::vector<std::string> events;
    int open = 0;

    void linesAboutToBeInserted(int f, int l) override { begin("insert", f, l); }
    void linesInserted() override { end(); }
    void linesAboutToBeRemoved(int f, int l) override { begin("remove", f, l); }
    void linesRemoved() override { end(); }
    void lineAboutToBeMoved(int f, int t) override { begin("move", f, t); }
    void lineMoved() override { end(); }
    void linesChanged(int f, int l) override { events.push_back(text("change", f, l)); }
    void changesSettled() override { events.push_back("settled"); }

private:
    static std::string text(const char* what, int a, int b)
    {
        return std::string(what) + " " + std::to_string(a) + "-" + std::to_string(b);
    }
    void begin(const char* what, int a, int b)
    {
        ASSERT_EQ(open, 0);
        ++open;
        events.push_back(text(what, a, b));
    }
    void end() { --open; }
};

CommandLines linesOf(std::initializer_list<const char*> texts)
{
    CommandBox box;
    CommandLines out;
    for (const char* t : texts)
        out.push_back(box.makeLine(t, t, 2));
    return out;
}

} // namespace

TEST(CommandList, CursorKeepsItsIndexOnInsertAndFollowsItsLineOnRemove)
{
    CommandList list;
    EXPECT_EQ(list.cursor(), -1);
    list.insert(0, linesOf({"a", "b", "c", "d"}));
    list.setCursor(2);
    list.insert(2, linesOf({"new"}));
    EXPECT_EQ(list.cursor(), 2);
    EXPECT_EQ(list.line(2).displayText, "new");

    list.remove(0, 1); // above the cursor
    EXPECT_EQ(list.cursor(), 0);
    EXPECT_EQ(list.line(0).displayText, "new");
    list.setCursor(3);
    list.remove(2, 3); // the cursor line goes: the cursor stays on the last line
    EXPECT_EQ(list.cursor(), 1);
    list.clear();
    EXPECT_EQ(list.cursor(), -1);
    list.setCursor(5);
    EXPECT_EQ(list.cursor(), -1);
}

TEST(CommandList, ABatchReportsRowsAsTheyChangeAndSettlesOnce)
{
    CommandList list;
    Recorder rec;
    list.setObserver(&rec);
    {
        CommandList::Batch batch(list);
        list.insert(0, linesOf({"a", "b", "c"}));
        list.setSelected(1, true);
        list.setIndent(1, 10);
        list.shiftIndents(0, 2, -8, true);
        list.remove(2, 2);
        EXPECT_EQ(rec.events.back(), "remove 2-2");
    }
    EXPECT_EQ(rec.events, std::vector<std::string>({"insert 0-2", "change 1-1", "change 1-1",
                                                    "remove 2-2", "settled"}));
    // Lines inserted into an empty list (a loaded file) are taken over, not copied.
    CommandList loaded;
    CommandLines lines = linesOf({"a", "b"});
    const CommandBoxLine* storage = lines.data();
    loaded.insert(0, std::move(lines));
    EXPECT_EQ(&loaded.line(0), storage);
    EXPECT_EQ(list.line(1).item.indent, 2);
    list.shiftIndents(0, 1, -8, false); // never below zero
    EXPECT_EQ(list.line(0).item.indent, 0);
}

TEST(CommandList, SelectedRangeSpansTheSelectionAndAssignChangesOnlyTheRowsThatDiffer)
{
    CommandList list;
    list.insert(0, linesOf({"a", "b", "c", "d", "e"}));
    list.setCursor(4);
    EXPECT_EQ(list.selectedRange(), std::make_pair(5, 0)); // none: the count and zero
    list.setSelected(3, true);
    list.setSelected(0, true);
    EXPECT_EQ(list.selectedRange(), std::make_pair(0, 3)); // the lowest and the highest
    EXPECT_EQ(list.selectedCount(), 2);
    Recorder rec;
    list.setObserver(&rec);
    list.assign(linesOf({"a", "x", "y", "d", "e"}));
    EXPECT_EQ(rec.events, std::vector<std::string>({"remove 1-2", "insert 1-2", "settled"}));
    EXPECT_EQ(textsOf(list), std::vector<std::string>({"a", "x", "y", "d", "e"}));
    EXPECT_EQ(list.selectedCount(), 0);
    EXPECT_EQ(list.selectedRange(), std::make_pair(5, 0));
    EXPECT_EQ(list.cursor(), 4);

    rec.events.clear();
    list.assign(linesOf({"a", "e"})); // shorter: the cursor is kept inside
    EXPECT_EQ(rec.events, std::vector<std::string>({"remove 1-3", "settled"}));
    EXPECT_EQ(list.cursor(), 1);
    list.assign(linesOf({"a", "a", "e"}));
    EXPECT_EQ(textsOf(list), std::vector<std::string>({"a", "a", "e"}));
    list.assign({});
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.cursor(), -1);
}

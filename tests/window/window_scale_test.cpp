// The command box's undo and redo by their keys, its one current line, and the receive box
// with a long transmission's lines, in the whole window offscreen.
#include "main_form_support.h"
#include "tests/widgets/list_box_support.h"

#include "frames/receive_log_model.h"
#include "widgets/ovel_list_box.h"


#include <algorithm>
#include <QTest>

#include <string>
#include <vector>

using namespace mainformtest;
using listboxtest::CountingDelegate;
using Texts = std::vector<std::string>;

namespace {

class CommandKeys : public QuietWindow {
protected:
    TOvelListBox* commandBox = w.editor().commandBox();

    void SetUp() override
    {
        for (int i = 39; i >= 0; --i)
            rig.box().InsertCommandLine("'" + std::to_string(i) + "'", std::to_string(i));
        commandBox->setFocus(Qt::MouseFocusReason);
        listboxtest::click(commandBox, 3);
        runPending();
    }
    // A key as the user types it, the enabling updated as when the window is idle after it.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(commandBox, Qt::Key(key), modifiers);
        runPending();
    }
};

} // namespace

TEST_F(CommandKeys, TheEditMenuOffersRedoOnlyAfterAnUndo)
{
    EXPECT_FALSE(rig.actions().DoRedoText->isEnabled());
    press(Qt::Key_Delete);
    const Texts deleted = rig.displayTexts();
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(rig.actions().DoRedoText->isEnabled());
    press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(rig.displayTexts(), deleted);
}

// The line shown highlighted is the one the next edit acts on, in both boxes.
TEST_F(CommandKeys, AnInsertedLineIsTheHighlightedOneThatDeleteTakes)
{
    const std::string first = rig.box().list().line(3).displayText;
    rig.box().InsertCommandLine("'SECOND'", "SECOND");
    runPending();
    EXPECT_EQ(listboxtest::selectedRows(commandBox), std::vector<int>({3}));
    EXPECT_EQ(commandBox->currentIndex().row(), 3);
    EXPECT_EQ(listboxtest::selectedRows(w.editor().hexBox()), std::vector<int>({3}));
    press(Qt::Key_Delete);
    EXPECT_EQ(rig.box().list().line(3).displayText, first);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(listboxtest::selectedRows(commandBox),
              std::vector<int>({commandBox->currentIndex().row()}));
}

// Each line of a long transmission is measured once, when it comes into sight; the box
// brings the newest line into sight within a moment.
TEST_F(QuietWindow, TheReceiveBoxFollowsTheNewestLineMeasuringEachLineOnce)
{
    TOvelListBox* receiveBox = w.sendReceiveFrame().ReceiveBox();
    ReceiveLogModel& log = w.sendReceiveFrame().receiveLog();
    auto add = [&](int lines) {
        const int first = log.rowCount();
        for (int i = first; i < first + lines; ++i) {
            log.addLine("14:02:07:315 Packet " + std::to_string(i) + " sent, answer OK.");
            if (i % 100 == 0)
                runPending();
        }
        const QModelIndex last = log.index(log.rowCount() - 1);
        return waitUntil([&] {
            return receiveBox->viewport()->rect().contains(receiveBox->visualRect(last));
        });
    };
    // The scroll bar, once shown, narrows the box: its lines are wrapped again then.
    ASSERT_TRUE(add(100));
    CountingDelegate* counter = CountingDelegate::install(receiveBox);
    EXPECT_TRUE(add(1500));
    std::vector<int> rows = counter->rows;
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(std::adjacent_find(rows.begin(), rows.end()), rows.end()) << "a line measured twice";
    EXPECT_LT(rows.size(), 750u); // most lines were never in sight
}

// Beyond its limit the box drops the oldest tenth at once; its first line tells how many
// are gone, and the newest lines stay in their order.
TEST(ReceiveLog, BeyondItsLimitTheOldestLinesGiveWayToANotice)
{
    ReceiveLogModel log;
    log.setLineLimit(20);
    for (int i = 0; i < 45; ++i)
        log.addLine("line " + std::to_string(i));
    EXPECT_EQ(log.droppedLines(), 26u);
    ASSERT_EQ(log.rowCount(), 20);
    EXPECT_EQ(log.lines()[0], log.droppedNotice());
    EXPECT_EQ(log.droppedNotice(), "--- 26 older lines dropped: this box keeps the last 20 lines. "
                                   "The Packets tab (and the debug log, when it is on) keeps "
                                   "every exchange.");
    EXPECT_EQ(log.lines()[1], "line 26");
    EXPECT_EQ(log.lines()[19], "line 44");
    log.clearLines();
    log.addLine("again");
    EXPECT_EQ(log.lines(), Texts({"again"}));
    EXPECT_EQ(log.droppedLines(), 0u);
}

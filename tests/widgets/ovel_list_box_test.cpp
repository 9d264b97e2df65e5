#include "tests/widgets/list_box_support.h"
#include "widgets/list_box_roles.h"
#include "widgets/ovel_list_box.h"

#include <QApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

class ListBox : public ::testing::Test {
protected:
    QStandardItemModel model;
    TOvelListBox box;

    void fill(int rows, const QString& prefix = QStringLiteral("line "))
    {
        for (int i = 0; i < rows; ++i)
            model.appendRow(new QStandardItem(prefix + QString::number(i)));
        box.setModel(&model);
    }
    void show(int width = 300, int height = 200)
    {
        box.resize(width, height);
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    }
    int heightOf(int row) { return box.visualRect(model.index(row, 0)).height(); }
};

using Rows = std::vector<int>;

} // namespace

using namespace listboxtest;

TEST_F(ListBox, ShiftAndCtrlSelectionAreDroppedUnlessAllowedAndTheRangeSpansTheSelection)
{
    fill(10);
    EXPECT_EQ(box.selectionRange(), std::make_pair(10, 0)); // none: the count and zero
    show();
    QSignalSpy clicks(&box, &TOvelListBox::lineClicked);
    click(&box, 2);
    EXPECT_EQ(selectedRows(&box), Rows({2}));
    EXPECT_EQ(clicks.count(), 1);

    click(&box, 5, Qt::ControlModifier);
    click(&box, 7, Qt::ShiftModifier);
    QTest::keyClick(&box, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selectedRows(&box), Rows({2}));
    EXPECT_EQ(box.currentIndex().row(), 2);
    EXPECT_EQ(clicks.count(), 1);

    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(selectedRows(&box), Rows({3}));
    EXPECT_EQ(clicks.count(), 2);
    // Sweeping with the button held selects no range.
    QTest::mousePress(box.viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(&box, 4));
    QTest::mouseMove(box.viewport(), centreOf(&box, 8));
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(&box, 8));
    EXPECT_EQ(selectedRows(&box), Rows({8}));
    // Below the last line is the last line's place.
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, QPoint(5, box.viewport()->height() - 5));
    EXPECT_EQ(selectedRows(&box), Rows({9}));
    // A right click keeps the selection for the pop-up menu.
    click(&box, 6, Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(selectedRows(&box).size(), 1u);
    EXPECT_NE(selectedRows(&box)[0], 6);

    box.SetAllowExtSelect(true);
    click(&box, 2);
    click(&box, 7, Qt::ControlModifier);
    click(&box, 3, Qt::ControlModifier);
    EXPECT_EQ(selectedRows(&box), Rows({2, 3, 7}));
    EXPECT_EQ(box.selectionRange(), std::make_pair(2, 7)); // the lowest and the highest
}

TEST_F(ListBox, NumbersOnlyWhenShownAndLinesGrowWithTheirWrapNeverBeyond255)
{
    fill(3);
    box.SetDrawLines(false);
    show(300, 300);
    auto cyanPixels = [&] {
        QImage image(box.viewport()->size(), QImage::Format_RGB32);
        box.viewport()->render(&image);
        int n = 0;
        const QRect column(0, 0, box.LineNrWidth(), heightOf(0));
        for (int y = column.top(); y <= column.bottom(); ++y)
            for (int x = column.left(); x <= column.right(); ++x)
            {
                // Anti-aliased digits: count the clearly cyan pixels.
                const QColor c(image.pixel(x, y));
                n += c.red() < 80 && c.green() > 150 && c.blue() > 150;
            }
        return n;
    };
    EXPECT_GT(cyanPixels(), 0);
    box.SetShowNumbers(false);
    EXPECT_EQ(cyanPixels(), 0);

    const int single = heightOf(0);
    EXPECT_EQ(single, box.LineHeight());

    model.setData(model.index(1, 0), QString(5000, QLatin1Char('w')));
    EXPECT_EQ(heightOf(1), 255);

    // A line with an item wraps at its own indent: a large indent makes it taller, and only it.
    const QString words = QStringLiteral("some words that nearly fill one line of the box");
    model.setData(model.index(2, 0), words);
    model.setData(model.index(2, 0), true, lbrole::HasItem);
    model.setData(model.index(2, 0), box.font(), Qt::FontRole);
    model.setData(model.index(2, 0), QColor(Qt::red), Qt::ForegroundRole);
    model.setData(model.index(2, 0), QColor(Qt::white), Qt::BackgroundRole);
    model.setData(model.index(2, 0), 0, lbrole::Indent);
    const int before = heightOf(2);
    model.setData(model.index(2, 0), 200, lbrole::Indent);
    EXPECT_GT(heightOf(2), before);
    EXPECT_EQ(heightOf(0), single);

    // Capitals wrap by their measured width, although the average width would give one line.
    const QString capitals = QStringLiteral("WMW ").repeated(box.WrapWidth()).left(box.WrapWidth() - 2);
    model.setData(model.index(0, 0), capitals);
    const double lines = QFontMetricsF(box.font()).horizontalAdvance(capitals) / box.viewport()->width();
    EXPECT_GE(heightOf(0) / single, std::ceil(lines));
    model.setData(model.index(0, 0), QStringLiteral("line 0"));

    // Frames add two pixels to every line.
    box.SetDrawLines(true);
    EXPECT_EQ(heightOf(0), single + 2);
}

TEST_F(ListBox, OnScrollReportsScrollingByTheUserOnly)
{
    fill(200);
    show(200, 120);
    QSignalSpy scrolled(&box, &TOvelListBox::OnScroll);
    box.setTopRow(20);
    EXPECT_EQ(box.topRow(), 20);
    EXPECT_EQ(scrolled.count(), 0);

    box.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    ASSERT_EQ(scrolled.count(), 1);
    EXPECT_EQ(scrolled.at(0).at(0).value<TOvelListBox*>(), &box);
    EXPECT_EQ(box.topRow(), 21);

    QWheelEvent wheel(QPointF(10, 10), box.viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box.viewport(), &wheel);
    EXPECT_EQ(scrolled.count(), 2);
    EXPECT_GT(box.topRow(), 21);
}

// A double click with Shift acts on its line; focus loss is reported for other controls only;
// drops are taken only from the box itself and where the filter allows.
TEST_F(ListBox, DoubleClicksFocusLossAndDrops)
{
    fill(10);
    show();
    QSignalSpy doubles(&box, &TOvelListBox::lineDoubleClicked);
    QSignalSpy clicks(&box, &TOvelListBox::lineClicked);
    click(&box, 1);
    QTest::mouseDClick(box.viewport(), Qt::LeftButton, Qt::ShiftModifier, centreOf(&box, 4));
    ASSERT_EQ(doubles.count(), 1);
    EXPECT_EQ(doubles.at(0).at(0).toInt(), 4);
    EXPECT_TRUE(doubles.at(0).at(1).value<Qt::KeyboardModifiers>() & Qt::ShiftModifier);
    EXPECT_EQ(box.currentIndex().row(), 4);
    EXPECT_EQ(selectedRows(&box), Rows({4}));
    const int clicksAfterDouble = clicks.count();
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, Qt::ShiftModifier, centreOf(&box, 4));
    EXPECT_EQ(clicks.count(), clicksAfterDouble);

    QSignalSpy lost(&box, &TOvelListBox::focusLost);
    for (Qt::FocusReason r : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, r);
        QApplication::sendEvent(&box, &out);
    }
    EXPECT_EQ(lost.count(), 0);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&box, &out);
    EXPECT_EQ(lost.count(), 1);

    box.setLineDragEnabled(true);
    std::vector<int> asked;
    box.setDropFilter([&](int row) {
        asked.push_back(row);
        return row != 4;
    });
    QSignalSpy dropped(&box, &TOvelListBox::linesDropped);
    std::unique_ptr<QMimeData> mine(box.dragMimeData());

    auto move = [&](int row, const QMimeData* data) {
        drag<QDragEnterEvent>(&box, row, data);
        return drag<QDragMoveEvent>(&box, row, data);
    };
    EXPECT_TRUE(move(3, mine.get()));
    EXPECT_EQ(box.currentIndex().row(), 3);
    EXPECT_FALSE(move(4, mine.get()));
    EXPECT_EQ(asked, Rows({3, 4}));

    QMimeData foreign;
    foreign.setText(QStringLiteral("line 1"));
    EXPECT_FALSE(move(6, &foreign));
    TOvelListBox other;
    std::unique_ptr<QMimeData> fromOther(other.dragMimeData());
    EXPECT_FALSE(move(6, fromOther.get()));

    drag<QDropEvent>(&box, 6, mine.get());
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped.at(0).at(0).toInt(), 6);
}

// A row is measured when first shown and then kept: a change measures the rows it changed, a
// new height of the box the rows that come into sight, a new width the rows in sight.
TEST_F(ListBox, RowsAreMeasuredOnlyWhenShownAndAgainOnlyWhenTheyChange)
{
    fill(5000);
    CountingDelegate* counter = CountingDelegate::install(&box);
    show(200, 100);
    const size_t shown = counter->rows.size();
    EXPECT_LT(shown, 40u);

    counter->rows.clear();
    model.setData(model.index(2, 0), QStringLiteral("a new text"));
    heightOf(2);
    box.viewport()->repaint();
    EXPECT_EQ(counter->rows, Rows({2}));

    counter->rows.clear();
    box.scrollTo(model.index(4000, 0));
    box.viewport()->repaint();
    EXPECT_LT(counter->rows.size(), 40u);
    EXPECT_GE(box.topRow(), 3980);

    counter->rows.clear();
    box.resize(260, 100); // wider: what is in sight is wrapped again
    box.viewport()->repaint();
    EXPECT_LT(counter->rows.size(), 40u);
    EXPECT_EQ(std::count(counter->rows.begin(), counter->rows.end(), 10), 0);
}

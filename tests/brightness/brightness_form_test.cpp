#include "brightness/brightness_form.h"
#include "brightness/drag_graph.h"
#include "tests/dialogs/dialog_test_support.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

const char kHeader[] = "BrightNess Table (in percentages)";

QPoint centreOf(const TDragGraph& g, int dot)
{
    const auto r = g.model().dotRect(dot);
    return {r.centreX(), r.centreY()};
}

void dragTo(TDragGraph& g, QPoint from, QPoint to)
{
    QTest::mousePress(&g, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), g.mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&g, &move);
    QTest::mouseRelease(&g, Qt::LeftButton, Qt::NoModifier, to);
}

} // namespace

TEST(BrightnessForm, DraggedDotSnapsPresetsInBothFormsTheLevelsShownAndEscapeCancels)
{
    TBrightData data{kHeader, "030405060708090A0B0C0D0E0F0F0F0F", TVersion::V200};
    TBrightNessFrm form(data);
    openWithoutLoop(form);
    TDragGraph& g = *form.graph();
    QSignalSpy changed(&g, &TDragGraph::OnValueChanged);

    // Aim a third of a step above level 10: the dot lands on 10, not between levels.
    const DragGraphModel& m = g.model();
    const int step = m.verticalStep();
    const QPoint start = centreOf(g, 0);
    const QPoint target(start.x(), m.dotRect(0).centreY() - (10 - 3) * step - step / 3);
    dragTo(g, start, target);
    EXPECT_EQ(g.value(0), 10);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(1).toInt(), 10);

    // A press beside every dot drags nothing.
    const QPoint empty(centreOf(g, 2).x(), m.baseLine() + m.dotSize() + 2);
    dragTo(g, empty, QPoint(empty.x(), 0));
    EXPECT_EQ(g.value(2), 5);

    QTest::mouseClick(form.okButton(), Qt::LeftButton);
    EXPECT_EQ(data.Data, "0A0405060708090A0B0C0D0E0F0F0F0F");

    // the presets in both forms, the levels shown, and Escape
    TBrightData two{kHeader, "030405060708090A0B0C0D0E0F0F0F0F", TVersion::V200};
    TBrightNessFrm full(two);
    openWithoutLoop(full);
    QTest::mouseClick(full.fullButton(), Qt::LeftButton);
    QTest::mouseClick(full.okButton(), Qt::LeftButton);
    EXPECT_EQ(full.result(), QDialog::Accepted);
    EXPECT_EQ(two.Data.substr(0, 4), "0F0F"); // the whole table: BrightnessTable's presets test

    TBrightData one{kHeader, "3456789ABCDEFFFF", TVersion::V300};
    TBrightNessFrm low(one);
    openWithoutLoop(low);
    // The widest level label, "100 %" at the top, has its room whole in the graph's font.
    const QFontMetrics labels = low.graph()->fontMetrics();
    EXPECT_LE(labels.horizontalAdvance(QStringLiteral("100 %")), low.graph()->model().labelWidth());
    EXPECT_EQ(low.graph()->value(0), 3);
    EXPECT_EQ(low.graph()->value(15), 15);
    QTest::mouseClick(low.lowButton(), Qt::LeftButton);
    QTest::mouseClick(low.defaultButton(), Qt::LeftButton);
    QTest::mouseClick(low.lowButton(), Qt::LeftButton);
    QTest::keyClick(low.lowButton(), Qt::Key_Escape);
    EXPECT_EQ(low.result(), QDialog::Rejected);
    EXPECT_EQ(one.Data, "3456789ABCDEFFFF"); // Cancel leaves the record alone
}

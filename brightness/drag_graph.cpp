#include "drag_graph.h"

#include "widgets/dialog_style.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TDragGraph::TDragGraph(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAutoFillBackground(false);
    QFont labels(QStringLiteral("Arial"));
    labels.setPointSize(8);
    setFont(labels);
    setToolTip(QStringLiteral("Drag the Dot with the mouse Up and Down."));
    refresh();
}

void TDragGraph::refresh()
{
    // The level labels ("100 %") and the dot numbers keep their room whole in the font the
    // system gives the graph.
    const QFontMetrics fm = fontMetrics();
    int widest = 0;
    for (int level = 0; level <= m_model.yResolution(); ++level) {
        const QString label = latin1(m_model.yLabel(level));
        widest = std::max({widest, fm.horizontalAdvance(label), fm.boundingRect(label).width()});
    }
    if (widest > m_model.xLabelSpace())
        m_model.setXLabelSpace(std::min(widest, 64));
    if (fm.height() > m_model.yLabelSpace())
        m_model.setYLabelSpace(std::min(fm.height(), 64));
    setMinimumSize(m_model.minimumWidth(), m_model.minimumHeight());
    m_model.setSize(width(), height());
    updateGeometry();
    update();
}

QSize TDragGraph::minimumSizeHint() const
{
    return {m_model.minimumWidth(), m_model.minimumHeight()};
}

QSize TDragGraph::sizeHint() const
{
    // Room for the labels and a comfortable step between dots and levels.
    return {m_model.minimumWidth() + 160, m_model.minimumHeight() + 110};
}

void TDragGraph::setValue(int dot, int value)
{
    if (m_model.setValue(dot, value))
        update();
}

void TDragGraph::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_model.setSize(width(), height());
}

void TDragGraph::paintEvent(QPaintEvent*)
{
    const DragGraphModel& m = m_model;
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));

    const int dots = m.nrDots();
    const int levels = m.yResolution();
    const int half = m.dotSize() / 2;
    const int axisX = m.marge() + m.labelWidth();
    const int axisY = m.height() - m.marge() - m.labelHeight();
    const int firstX = m.dotRect(0).centreX();
    const int lastX = firstX + (dots - 1) * m.horizontalStep();
    auto levelY = [&](int level) { return m.baseLine() - level * m.verticalStep() + half; };

    p.setPen(QPen(Qt::black, 1));
    if (m.showAxis) {
        p.drawLine(axisX, m.marge(), axisX, axisY);
        p.drawLine(axisX, axisY, m.width() - m.marge(), axisY);
    }
    if (m.showGrid) {
        p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
        for (int i = 0; i < dots; ++i) {
            const int x = firstX + i * m.horizontalStep();
            p.drawLine(x, levelY(0), x, levelY(levels));
        }
        for (int j = 0; j <= levels; ++j)
            p.drawLine(firstX, levelY(j), lastX, levelY(j));
        p.setPen(QPen(Qt::black, 1));
    } else if (m.showAxis) {
        for (int i = 0; i < dots; ++i) {
            const int x = firstX + i * m.horizontalStep();
            p.drawLine(x, axisY - 3, x, axisY + 3);
        }
        for (int j = 0; j <= levels; ++j)
            p.drawLine(axisX - 3, levelY(j), axisX + 3, levelY(j));
    }
    if (m.showLabels) {
        const QFontMetrics fm = fontMetrics();
        for (int i = 0; i < dots; ++i) {
            const int x = firstX + i * m.horizontalStep();
            const QString text = latin1(m.xLabel(i));
            p.drawText(QRect(x - 20, axisY + 2, 40, m.labelHeight()), Qt::AlignHCenter | Qt::AlignTop,
                       text);
        }
        for (int j = 0; j <= levels; ++j) {
            const QString text = latin1(m.yLabel(j));
            const int y = levelY(j);
            p.drawText(QRect(m.marge() - 4, y - fm.height() / 2, m.labelWidth(), fm.height()),
                       Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }
    p.setRenderHint(QPainter::Antialiasing);
    if (m.showLine && dots > 1) {
        p.setPen(QPen(lineColour, 2));
        for (int i = 1; i < dots; ++i) {
            const auto a = m.dotRect(i - 1);
            const auto b = m.dotRect(i);
            p.drawLine(a.centreX(), a.centreY(), b.centreX(), b.centreY());
        }
    }
    p.setPen(QPen(lineColour, 1));
    p.setBrush(dotColour);
    for (int i = 0; i < dots; ++i) {
        const auto r = m.dotRect(i);
        p.drawEllipse(QRect(r.left, r.top, r.size, r.size));
    }
}

void TDragGraph::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    m_dragDot = m_model.dotAt(pos.x(), pos.y());
}

void TDragGraph::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_dragDot < 0) {
        setCursor(m_model.dotAt(pos.x(), pos.y()) >= 0 ? Qt::SizeVerCursor : Qt::ArrowCursor);
        return;
    }
    const int level = m_model.levelAt(pos.y());
    if (m_model.setValue(m_dragDot, level)) {
        update();
        emit OnValueChanged(m_dragDot, level);
    }
}

void TDragGraph::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragDot = -1;
    QWidget::mouseReleaseEvent(event);
}

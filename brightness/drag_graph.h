#pragma once
// The dot graph: NrDots dots on levels 0..YResolution joined by a line, with axes and labels.
// A dot is dragged vertically with the mouse and snaps to the level nearest the pointer.

#include "drag_graph_model.h"

#include <QColor>
#include <QWidget>

class TDragGraph : public QWidget {
    Q_OBJECT
public:
    explicit TDragGraph(QWidget* parent = nullptr);

    // The options and geometry; call refresh() after changing options through it.
    DragGraphModel& model() { return m_model; }
    const DragGraphModel& model() const { return m_model; }
    void refresh();

    int value(int dot) const { return m_model.value(dot); }
    // Clamped to 0..YResolution; an index outside the dots is ignored. Redraws.
    void setValue(int dot, int value);

    QColor lineColour = QColor(0x40, 0x00, 0x40);
    QColor dotColour = QColor(0x80, 0x00, 0x80);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A dragged dot moved to a new level.
    void OnValueChanged(int dot, int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    DragGraphModel m_model;
    int m_dragDot = -1;
};

#pragma once
// A line of a list box that does not show whole — taller than the box, or wider than it —
// shows whole in a tool tip when the mouse rests on it, wrapped to the screen. Lines that
// show whole get none.

#include <QObject>

class QHelpEvent;
class TOvelListBox;

class LineToolTips : public QObject {
    Q_OBJECT
public:
    explicit LineToolTips(QObject* parent = nullptr) : QObject(parent) {}

    void watch(TOvelListBox* box);
    // The tool tip for the line at pos of the box's viewport; empty when it shows whole.
    static QString tipAt(const TOvelListBox* box, const QPoint& pos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

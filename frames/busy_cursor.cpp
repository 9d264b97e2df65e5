#include "busy_cursor.h"

#include <QAbstractScrollArea>

void BusyCursor::setBusy(bool busy)
{
    const bool before = m_depth > 0;
    m_depth = busy ? m_depth + 1 : std::max(0, m_depth - 1);
    const bool now = m_depth > 0;
    if (before == now)
        return;
    for (const QPointer<QWidget>& w : m_widgets) {
        if (!w)
            continue;
        // A list draws its lines on its viewport, which has a cursor of its own.
        auto* area = qobject_cast<QAbstractScrollArea*>(w.data());
        QWidget* target = area ? area->viewport() : w.data();
        if (now)
            target->setCursor(Qt::BusyCursor);
        else
            target->unsetCursor();
    }
}

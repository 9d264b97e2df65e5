#include "line_tool_tips.h"

#include "widgets/ovel_list_box.h"

#include <QHelpEvent>
#include <QToolTip>

namespace {

// A line this long is worth a tip even when it fits the box at its width, as a wrapped line
// of it is hard to follow.
constexpr int kLongLine = 200;

} // namespace

void LineToolTips::watch(TOvelListBox* box)
{
    box->viewport()->installEventFilter(this);
}

QString LineToolTips::tipAt(const TOvelListBox* box, const QPoint& pos)
{
    const QModelIndex index = box->indexAt(pos);
    if (!index.isValid())
        return {};
    const QString text = index.data(box->textRole()).toString();
    const QRect line = box->visualRect(index);
    const QRect view = box->viewport()->rect();
    const bool cut = line.height() > view.height() || line.width() > view.width()
                     || text.size() >= kLongLine;
    if (!cut)
        return {};
    // Rich text wraps; the line's own characters stay as they are.
    return QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped()
         + QStringLiteral("</p>");
}

bool LineToolTips::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    auto* viewport = qobject_cast<QWidget*>(watched);
    auto* box = viewport ? qobject_cast<TOvelListBox*>(viewport->parentWidget()) : nullptr;
    if (!box)
        return QObject::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = tipAt(box, help->pos());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, viewport);
    return true;
}

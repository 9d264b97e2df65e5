#include "ovel_list_box.h"

#include "list_box_roles.h"
#include "ovel_list_delegate.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const char* const kLinesMimeType = "application/x-orvanta-list-lines";

} // namespace

TOvelListBox::TOvelListBox(QWidget* parent)
    : QListView(parent), m_delegate(new TOvelListDelegate(*this))
{
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setResizeMode(QListView::Adjust);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);

    m_nrFont.setBold(true);
    setBackgroundColor(Qt::black);

    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &TOvelListBox::scrollBarAction);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TOvelListBox::scrollBarMoved);
    remeasure();
}

TOvelListBox::~TOvelListBox() = default;

void TOvelListBox::SetShowNumbers(bool on)
{
    m_showNumbers = on;
    relayout();
}

void TOvelListBox::SetDrawLines(bool on)
{
    m_drawLines = on;
    relayout();
}

void TOvelListBox::SetLineColor(const QColor& colour)
{
    m_lineColor = colour;
    viewport()->update();
}

void TOvelListBox::SetNrFont(const QFont& font)
{
    m_nrFont = font;
    viewport()->update();
}

void TOvelListBox::SetNrFontColor(const QColor& colour)
{
    m_nrFontColor = colour;
    viewport()->update();
}

void TOvelListBox::SetLineNrWidth(int pixels)
{
    m_lineNrWidth = pixels;
    relayout();
}

void TOvelListBox::SetFontColor(const QColor& colour)
{
    m_fontColor = colour;
    viewport()->update();
}

void TOvelListBox::setBackgroundColor(const QColor& colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, colour);
    setPalette(p);
}

QColor TOvelListBox::backgroundColor() const
{
    return palette().color(QPalette::Base);
}

void TOvelListBox::setTextRole(int role)
{
    m_textRole = role;
    relayout();
}

std::pair<int, int> TOvelListBox::selectionRange() const
{
    const int count = model() ? model()->rowCount(rootIndex()) : 0;
    int low = count;
    int high = 0;
    if (selectionModel())
        for (const QItemSelectionRange& r : selectionModel()->selection()) {
            if (r.parent() != rootIndex())
                continue;
            low = std::min(low, r.top());
            high = std::max(high, r.bottom());
        }
    return {low, high};
}

int TOvelListBox::topRow() const
{
    const QModelIndex top = indexAt(QPoint(1, 1));
    if (top.isValid())
        return top.row();
    return verticalScrollBar()->value();
}

void TOvelListBox::setTopRow(int row)
{
    // Scrolling is per line, so the scroll bar's value is the first visible row.
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(row);
}

int TOvelListBox::wrapWidthFor(const QFont& font, int indent) const
{
    const int available = viewport()->width() - (m_showNumbers ? m_lineNrWidth : 0) - indent;
    return static_cast<int>(std::trunc(available / m_delegate->metricsOf(font).averageCharWidth));
}

TOvelListBox::Metrics TOvelListBox::metricsOf(const QFont& font) const
{
    const TOvelListDelegate::Metrics m = m_delegate->metricsOf(font);
    return {m.averageCharWidth, m.lineHeight};
}

void TOvelListBox::remeasure()
{
    const TOvelListDelegate::Metrics m = m_delegate->metricsOf(font());
    m_lineHeight = m.lineHeight;
    m_fontChanged = false;
    m_wrapWidth = wrapWidthFor(font(), 0);
}

void TOvelListBox::relayout()
{
    m_wrapWidth = wrapWidthFor(font(), 0);
    scheduleDelayedItemsLayout();
    viewport()->update();
}

void TOvelListBox::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_fontChanged = true;
        remeasure();
        relayout();
    }
}

void TOvelListBox::resizeEvent(QResizeEvent* event)
{
    QListView::resizeEvent(event);
    if (m_fontChanged)
        remeasure();
    relayout();
}

void TOvelListBox::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                               const QList<int>& roles)
{
    QListView::dataChanged(topLeft, bottomRight, roles);
    // A new text, font or indent changes the line's height; the list view keeps its heights
    // until the next layout.
    if (roles.isEmpty() || roles.contains(m_textRole) || roles.contains(Qt::FontRole)
        || roles.contains(lbrole::Indent) || roles.contains(lbrole::HasItem))
        scheduleDelayedItemsLayout();
}

bool TOvelListBox::filtered(Qt::KeyboardModifiers modifiers) const
{
    return ((modifiers & Qt::ShiftModifier) && !m_allowRangeSelect)
        || ((modifiers & Qt::ControlModifier) && !m_allowExtSelect);
}

QItemSelectionModel::SelectionFlags TOvelListBox::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* event) const
{
    // Sweeping over lines with the button held would select a range.
    if (event && event->type() == QEvent::MouseMove && !m_allowRangeSelect)
        return QItemSelectionModel::NoUpdate;
    return QListView::selectionCommand(index, event);
}

void TOvelListBox::keyPressEvent(QKeyEvent* event)
{
    if (filtered(event->modifiers())) {
        event->accept();
        return;
    }
    const QModelIndex before = currentIndex();
    const QItemSelection selectedBefore = selectionModel() ? selectionModel()->selection()
                                                           : QItemSelection();
    QListView::keyPressEvent(event);
    if (currentIndex() != before
        || (selectionModel() && selectionModel()->selection() != selectedBefore))
        emit lineClicked();
}

QPoint TOvelListBox::linePoint(const QPoint& pos) const
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    if (rows == 0 || indexAt(pos).isValid())
        return pos;
    const QRect last = visualRect(model()->index(rows - 1, 0, rootIndex()));
    if (pos.y() <= last.bottom())
        return pos;
    return QPoint(std::clamp(pos.x(), last.left(), last.right()), last.center().y());
}

std::unique_ptr<QMouseEvent> TOvelListBox::onLine(const QMouseEvent& event) const
{
    auto moved = std::make_unique<QMouseEvent>(
            event.type(), QPointF(linePoint(event.position().toPoint())), event.scenePosition(),
            event.globalPosition(), event.button(), event.buttons(), event.modifiers(),
            event.pointingDevice());
    moved->setTimestamp(event.timestamp());
    return moved;
}

void TOvelListBox::mousePressEvent(QMouseEvent* event)
{
    m_dragged = false;
    m_pressFiltered = filtered(event->modifiers());
    // A right click opens the pop-up menu on the present selection.
    if (m_pressFiltered || event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    // The empty area below the last line belongs to the last line: a click there selects it
    // rather than clearing the selection.
    const std::unique_ptr<QMouseEvent> onLastLine = onLine(*event);
    QListView::mousePressEvent(onLastLine.get());
    event->setAccepted(onLastLine->isAccepted());
}

void TOvelListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_pressFiltered || event->button() != Qt::LeftButton) {
        m_pressFiltered = false;
        event->accept();
        return;
    }
    const std::unique_ptr<QMouseEvent> onLastLine = onLine(*event);
    QListView::mouseReleaseEvent(onLastLine.get());
    if (!m_dragged && indexAt(onLastLine->position().toPoint()).isValid())
        emit lineClicked();
}

void TOvelListBox::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressFiltered) {
        event->accept();
        return;
    }
    const std::unique_ptr<QMouseEvent> onLastLine = onLine(*event);
    QListView::mouseMoveEvent(onLastLine.get());
    event->setAccepted(onLastLine->isAccepted());
    // Without range selection the line under the held button is the one selected: the
    // selection moves with the current line instead of staying where the press was.
    if (!m_allowRangeSelect && state() == DragSelectingState
        && (event->buttons() & Qt::LeftButton) && !(event->modifiers() & Qt::ControlModifier)) {
        const QModelIndex current = currentIndex();
        if (current.isValid() && !(selectionModel()->isSelected(current)
                                   && selectionModel()->selectedIndexes().size() == 1))
            selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
    }
}

void TOvelListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid()) {
        event->accept();
        return;
    }
    // The presses of a double click held with a switched-off modifier were dropped; the
    // double click still acts on its line, as a plain click would first.
    if (filtered(event->modifiers()) || currentIndex() != index) {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        emit lineClicked();
    }
    // The release that ends the double click is no click of its own: it would undo what the
    // double click selected.
    m_pressFiltered = true;
    event->accept();
    emit lineDoubleClicked(index.row(), event->modifiers());
}

void TOvelListBox::wheelEvent(QWheelEvent* event)
{
    // The wheel scrolls through the scroll bar; one turn is reported once.
    m_inWheel = true;
    QListView::wheelEvent(event);
    m_inWheel = false;
    m_userScroll = false;
    emit OnScroll(this);
}

void TOvelListBox::scrollBarAction(int)
{
    QScrollBar* bar = verticalScrollBar();
    m_userScroll = bar->sliderPosition() != bar->value();
}

void TOvelListBox::scrollBarMoved()
{
    if (!m_userScroll || m_inWheel)
        return;
    m_userScroll = false;
    emit OnScroll(this);
}

void TOvelListBox::focusOutEvent(QFocusEvent* event)
{
    QListView::focusOutEvent(event);
    const Qt::FocusReason r = event->reason();
    if (r != Qt::PopupFocusReason && r != Qt::ActiveWindowFocusReason && r != Qt::MenuBarFocusReason)
        emit focusLost();
}

void TOvelListBox::setLineDragEnabled(bool on)
{
    setDragEnabled(on);
    setAcceptDrops(on);
    viewport()->setAcceptDrops(on);
    setDragDropMode(on ? QAbstractItemView::DragDrop : QAbstractItemView::NoDragDrop);
    setDropIndicatorShown(false);
}

QMimeData* TOvelListBox::dragMimeData() const
{
    auto* data = new QMimeData;
    const QString token = QStringLiteral("%1:%2")
            .arg(QCoreApplication::applicationPid())
            .arg(reinterpret_cast<quintptr>(this));
    data->setData(QString::fromLatin1(kLinesMimeType), token.toLatin1());
    return data;
}

bool TOvelListBox::ownDrag(const QMimeData* data) const
{
    if (!data || !dragEnabled())
        return false;
    std::unique_ptr<QMimeData> mine(dragMimeData());
    const QString type = QString::fromLatin1(kLinesMimeType);
    return data->hasFormat(type) && data->data(type) == mine->data(type);
}

int TOvelListBox::dropRow(const QPoint& pos) const
{
    const QModelIndex index = indexAt(pos);
    return index.isValid() ? index.row() : -1;
}

void TOvelListBox::startDrag(Qt::DropActions)
{
    m_dragged = true;
    emit dragStarting();
    auto* drag = new QDrag(this);
    drag->setMimeData(dragMimeData());
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

void TOvelListBox::dragEnterEvent(QDragEnterEvent* event)
{
    if (ownDrag(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TOvelListBox::dragMoveEvent(QDragMoveEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int row = dropRow(pos);
    if (!ownDrag(event->mimeData()) || row < 0) {
        event->ignore();
        return;
    }
    // The current row follows the mouse; the selection being dragged stays.
    selectionModel()->setCurrentIndex(model()->index(row, 0, rootIndex()),
                                      QItemSelectionModel::NoUpdate);
    const QRect inner = viewport()->rect().adjusted(0, autoScrollMargin(), 0, -autoScrollMargin());
    if (hasAutoScroll() && !inner.contains(pos))
        startAutoScroll();
    if (!m_dropFilter || m_dropFilter(row)) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TOvelListBox::dragLeaveEvent(QDragLeaveEvent* event)
{
    stopAutoScroll();
    event->accept();
}

void TOvelListBox::dropEvent(QDropEvent* event)
{
    stopAutoScroll();
    const int row = dropRow(event->position().toPoint());
    if (!ownDrag(event->mimeData()) || row < 0 || (m_dropFilter && !m_dropFilter(row))) {
        event->ignore();
        return;
    }
    // The lines are moved by the owner; the drag itself removes nothing.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    emit linesDropped(row);
}

void setUpProgramList(TOvelListBox* box, const QFont& font, const QColor& colour)
{
    box->setBackgroundColor(Qt::white);
    box->SetShowNumbers(false);
    box->SetDrawLines(false);
    box->SetLineColor(Qt::white);
    QFont nr(QStringLiteral("MS Sans Serif"), 8);
    nr.setBold(true);
    box->SetNrFont(nr);
    box->SetNrFontColor(Qt::cyan);
    box->setFont(font);
    box->SetFontColor(colour);
}

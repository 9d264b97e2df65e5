#include "ovel_list_box.h"

#include "list_box_roles.h"
#include "ovel_list_delegate.h"
#include "word_wrap.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const char* const kLinesMimeType = "application/x-orvanta-list-lines";
constexpr int kScrollBarDelayMs = 50;

} // namespace

TOvelListBox::TOvelListBox(QWidget* parent)
    : QAbstractItemView(parent),
      m_delegate(new TOvelListDelegate(*this)),
      m_heights([this](int row) { return measure(row); })
{
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);

    m_nrFont.setBold(true);
    setBackgroundColor(Qt::black);

    m_scrollBarTimer.setSingleShot(true);
    m_scrollBarTimer.setInterval(kScrollBarDelayMs);
    connect(&m_scrollBarTimer, &QTimer::timeout, this, &TOvelListBox::updateGeometries);
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

void TOvelListBox::SetShowCurrentLine(bool on)
{
    m_showCurrentLine = on;
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
    return top();
}

void TOvelListBox::flushLayout()
{
    executeDelayedItemsLayout();
    if (m_scrollBarTimer.isActive()) {
        m_scrollBarTimer.stop();
        updateGeometries();
    }
}

void TOvelListBox::setTopRow(int row)
{
    // Scrolling is per line, so the scroll bar's value is the first visible row.
    flushLayout();
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
    m_heights.invalidateAll();
    scheduleDelayedItemsLayout();
    viewport()->update();
}

void TOvelListBox::changeEvent(QEvent* event)
{
    QAbstractItemView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_fontChanged = true;
        remeasure();
        relayout();
    }
}

void TOvelListBox::resizeEvent(QResizeEvent* event)
{
    if (m_fontChanged)
        remeasure();
    // Lines wrap at the width: only a new width changes their heights.
    if (viewport()->width() != m_laidOutWidth) {
        m_laidOutWidth = viewport()->width();
        relayout();
    }
    QAbstractItemView::resizeEvent(event);
}

void TOvelListBox::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                               const QList<int>& roles)
{
    // A new text, font or indent changes the line's height: those rows are measured again.
    if (topLeft.parent() == rootIndex()
        && (roles.isEmpty() || roles.contains(m_textRole) || roles.contains(Qt::FontRole)
            || roles.contains(lbrole::Indent) || roles.contains(lbrole::HasItem))) {
        m_heights.invalidate(topLeft.row(), bottomRight.row());
        scheduleDelayedItemsLayout();
        // A new height moves the rows below it.
        viewport()->update();
    }
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
}

// ---- layout

int TOvelListBox::rows() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int TOvelListBox::top() const
{
    const int count = m_heights.count();
    return count == 0 ? 0 : std::clamp(verticalScrollBar()->value(), 0, count - 1);
}

int TOvelListBox::reach() const
{
    return viewport()->height() + kMaxLineHeight;
}

int TOvelListBox::estimate() const
{
    return std::max(m_lineHeight, 1);
}

QModelIndex TOvelListBox::rowIndex(int row) const
{
    return model() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

int TOvelListBox::measure(int row) const
{
    const QModelIndex index = rowIndex(row);
    QAbstractItemDelegate* delegate = itemDelegateForIndex(index);
    if (!index.isValid() || !delegate)
        return estimate();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    return delegate->sizeHint(option, index).height();
}

void TOvelListBox::setModel(QAbstractItemModel* newModel)
{
    for (const QMetaObject::Connection& c : m_modelConnections)
        disconnect(c);
    m_modelConnections.clear();
    QAbstractItemView::setModel(newModel);
    m_heights.reset(rows());
    if (newModel)
        m_modelConnections = {
                connect(newModel, &QAbstractItemModel::rowsRemoved, this, &TOvelListBox::modelRowsRemoved),
                connect(newModel, &QAbstractItemModel::rowsMoved, this, &TOvelListBox::modelRowsMoved),
                connect(newModel, &QAbstractItemModel::layoutChanged, this,
                        &TOvelListBox::modelLayoutChanged)};
}

void TOvelListBox::reset()
{
    QAbstractItemView::reset();
    m_heights.reset(rows());
    verticalScrollBar()->setValue(0);
    scheduleDelayedItemsLayout();
    viewport()->update();
}

void TOvelListBox::rowsInserted(const QModelIndex& parent, int start, int end)
{
    if (parent == rootIndex()) {
        // Rows added below the last one shown (a log growing at its end) change nothing in
        // sight but the scroll bar.
        const int shownTop = top();
        const bool inSight = start <= shownTop
                          || m_heights.yOf(start, shownTop, reach(), estimate()) < viewport()->height();
        m_heights.insert(start, end - start + 1);
        if (inSight) {
            scheduleDelayedItemsLayout();
            viewport()->update();
        } else if (!m_scrollBarTimer.isActive()) {
            m_scrollBarTimer.start();
        }
    }
    QAbstractItemView::rowsInserted(parent, start, end);
}

void TOvelListBox::modelRowsRemoved(const QModelIndex& parent, int first, int last)
{
    if (parent != rootIndex())
        return;
    m_heights.remove(first, last);
    scheduleDelayedItemsLayout();
    viewport()->update();
}

void TOvelListBox::modelRowsMoved(const QModelIndex& parent, int first, int last,
                                  const QModelIndex& destination, int row)
{
    if (parent != rootIndex() || destination != rootIndex())
        return;
    m_heights.move(first, last, row);
    viewport()->update();
}

void TOvelListBox::modelLayoutChanged()
{
    m_heights.reset(rows());
    scheduleDelayedItemsLayout();
    viewport()->update();
}

void TOvelListBox::doItemsLayout()
{
    // Nothing is laid out ahead: rows are measured as they are shown. Whatever changed what is
    // in sight has asked for its repaint.
    if (m_heights.count() != rows()) {
        m_heights.reset(rows());
        viewport()->update();
    }
    updateGeometries();
}

void TOvelListBox::updateGeometries()
{
    m_scrollBarTimer.stop();
    QScrollBar* bar = verticalScrollBar();
    const int viewHeight = viewport()->height();
    bar->setSingleStep(1);
    bar->setRange(0, m_heights.count() == 0 ? 0 : m_heights.lastTop(viewHeight));
    bar->setPageStep(m_heights.count() == 0 ? 1 : m_heights.rowsFitting(top(), viewHeight));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void TOvelListBox::scrollContentsBy(int, int)
{
    viewport()->update();
}

QRect TOvelListBox::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.parent() != rootIndex() || index.row() >= m_heights.count())
        return {};
    const int row = index.row();
    const int y = m_heights.yOf(row, top(), reach(), estimate());
    // Rows far from the viewport are not measured to tell where they are.
    const bool near = y >= -reach() && y <= reach();
    const int height = near ? m_heights.height(row) : m_heights.knownHeight(row, estimate());
    return QRect(0, y, viewport()->width(), near ? height : estimate());
}

QModelIndex TOvelListBox::indexAt(const QPoint& point) const
{
    if (point.x() < 0 || point.x() >= viewport()->width() || point.y() < 0 || m_heights.count() == 0)
        return {};
    int y = 0;
    for (int row = top(); row < m_heights.count() && y <= point.y(); ++row) {
        y += m_heights.height(row);
        if (point.y() < y)
            return rowIndex(row);
    }
    return {};
}

void TOvelListBox::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid() || index.parent() != rootIndex())
        return;
    flushLayout();
    const int row = index.row();
    const int viewHeight = viewport()->height();
    int newTop = top();
    switch (hint) {
    case EnsureVisible:
        if (row < newTop) {
            newTop = row;
        } else {
            const int y = m_heights.yOf(row, newTop, reach(), estimate());
            if (y + m_heights.height(row) > viewHeight && row > newTop)
                newTop = m_heights.topShowingAtBottom(row, viewHeight);
        }
        break;
    case PositionAtTop:
        newTop = row;
        break;
    case PositionAtBottom:
        newTop = m_heights.topShowingAtBottom(row, viewHeight);
        break;
    case PositionAtCenter:
        newTop = m_heights.topShowingAtBottom(row, (viewHeight + m_heights.height(row)) / 2);
        break;
    }
    verticalScrollBar()->setValue(newTop);
}

QModelIndex TOvelListBox::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    const int count = m_heights.count();
    if (count == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return rowIndex(0);
    const int row = current.row();
    const int viewHeight = viewport()->height();
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        return rowIndex(std::max(row - 1, 0));
    case MoveDown:
    case MoveNext:
        return rowIndex(std::min(row + 1, count - 1));
    case MoveHome:
        return rowIndex(0);
    case MoveEnd:
        return rowIndex(count - 1);
    case MovePageUp:
        return rowIndex(std::max(row == 0 ? 0 : m_heights.topShowingAtBottom(row, viewHeight), 0));
    case MovePageDown:
        return rowIndex(std::min(row + m_heights.rowsFitting(row, viewHeight) - 1, count - 1));
    case MoveLeft:
    case MoveRight:
        break;
    }
    return current;
}

void TOvelListBox::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    if (!selectionModel() || m_heights.count() == 0)
        return;
    const QRect r = rect.normalized();
    const int first = m_heights.rowAt(r.top(), top(), reach(), estimate());
    const int last = m_heights.rowAt(r.bottom(), top(), reach(), estimate());
    selectionModel()->select(QItemSelection(rowIndex(first), rowIndex(last)), command);
}

QRegion TOvelListBox::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    const int viewHeight = viewport()->height();
    int y = 0;
    for (int row = top(); row < m_heights.count() && y < viewHeight; ++row) {
        const int height = m_heights.height(row);
        if (selection.contains(rowIndex(row)))
            region += QRect(0, y, viewport()->width(), height);
        y += height;
    }
    return region;
}

void TOvelListBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    QStyleOptionViewItem base;
    initViewItemOption(&base);
    const bool focused = hasFocus() || viewport()->hasFocus();
    const QModelIndex current = currentIndex();
    const QRect area = event->rect();
    const int viewHeight = viewport()->height();
    int y = 0;
    for (int row = top(); row < m_heights.count() && y < viewHeight; ++row) {
        const int height = m_heights.height(row);
        const QRect rect(0, y, viewport()->width(), height);
        y += height;
        if (!area.intersects(rect))
            continue;
        const QModelIndex index = rowIndex(row);
        QStyleOptionViewItem option = base;
        option.rect = rect;
        option.state |= QStyle::State_Enabled;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (index == current && (focused || m_showCurrentLine))
            option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
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
    return QAbstractItemView::selectionCommand(index, event);
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
    QAbstractItemView::keyPressEvent(event);
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
    QAbstractItemView::mousePressEvent(onLastLine.get());
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
    QAbstractItemView::mouseReleaseEvent(onLastLine.get());
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
    QAbstractItemView::mouseMoveEvent(onLastLine.get());
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
    QAbstractItemView::wheelEvent(event);
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
    QAbstractItemView::focusOutEvent(event);
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

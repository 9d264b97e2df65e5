#pragma once
// A list view as the user sees and drives it, shared by the list box, editor and window tests:
// its rows' texts, its selected rows, a click on a row and a drag event over one; and a
// list box delegate that counts the rows it measures.

#include "widgets/ovel_list_box.h"
#include "widgets/ovel_list_delegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <vector>

namespace listboxtest {

inline QPoint centreOf(const QAbstractItemView* view, int row)
{
    return view->visualRect(view->model()->index(row, 0)).center();
}

inline void click(QAbstractItemView* view, int row, Qt::KeyboardModifiers mods = Qt::NoModifier,
                  Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(view->viewport(), button, mods, centreOf(view, row));
}

// The texts of a model's rows, top to bottom.
inline QStringList rowTexts(const QAbstractItemModel* model)
{
    QStringList out;
    for (int i = 0; i < model->rowCount(); ++i)
        out << model->index(i, 0).data().toString();
    return out;
}

// The rows the view shows selected, in ascending order.
inline std::vector<int> selectedRows(const QAbstractItemView* view)
{
    std::vector<int> rows;
    for (const QModelIndex& i : view->selectionModel()->selectedIndexes())
        rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Sends a drag event of this type over a row; true when the view accepted it.
template <class Event>
bool drag(QAbstractItemView* view, int row, const QMimeData* data)
{
    Event e(centreOf(view, row), Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &e);
    return e.isAccepted();
}

// Measures as the list box's own delegate does, and notes each row it measures.
class CountingDelegate : public TOvelListDelegate {
public:
    // Takes the box's place of delegate (the box owns it).
    static CountingDelegate* install(TOvelListBox* box)
    {
        auto* d = new CountingDelegate(*box);
        box->setItemDelegate(d);
        return d;
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        rows.push_back(index.row());
        return TOvelListDelegate::sizeHint(option, index);
    }
    mutable std::vector<int> rows;

private:
    using TOvelListDelegate::TOvelListDelegate;
};

} // namespace listboxtest

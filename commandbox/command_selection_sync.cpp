#include "command_selection_sync.h"

#include "command_list.h"
#include "command_list_model.h"

#include <QItemSelectionModel>

#include <vector>

CommandSelectionSync::CommandSelectionSync(CommandList& list, CommandListModel& model,
                                           QItemSelectionModel& selection, QObject* parent)
    : QObject(parent), m_list(list), m_model(model), m_selection(selection)
{
}

void CommandSelectionSync::pushToView()
{
    if (m_busy)
        return;
    m_busy = true;
    QItemSelection selection;
    const int count = m_list.count();
    for (int i = 0; i < count;) {
        if (!m_list.isSelected(i)) {
            ++i;
            continue;
        }
        int j = i;
        while (j + 1 < count && m_list.isSelected(j + 1))
            ++j;
        selection.select(m_model.index(i), m_model.index(j));
        i = j + 1;
    }
    if (selection != m_selection.selection())
        m_selection.select(selection, QItemSelectionModel::ClearAndSelect);
    const QModelIndex current = m_list.cursor() >= 0 ? m_model.index(m_list.cursor()) : QModelIndex();
    if (current != m_selection.currentIndex())
        m_selection.setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    m_busy = false;
}

void CommandSelectionSync::pullFromView()
{
    if (m_busy)
        return;
    m_busy = true;
    std::vector<char> selected(static_cast<size_t>(m_list.count()), 0);
    for (const QItemSelectionRange& r : m_selection.selection())
        for (int row = std::max(r.top(), 0); row <= r.bottom() && row < m_list.count(); ++row)
            selected[static_cast<size_t>(row)] = 1;
    const QModelIndex current = m_selection.currentIndex();
    m_list.setSelection(selected, current.isValid() ? current.row() : m_list.cursor());
    m_busy = false;
}

#include "command_clipboard.h"

#include "block_editor.h"
#include "commandbox/command_box.h"
#include "edit_rules.h"

#include <vector>

CommandClipboard::CommandClipboard(CommandBox& box, BlockEditor& blocks)
    : m_box(box), m_blocks(blocks)
{
}

bool CommandClipboard::canCutOrCopy() const
{
    return editrules::canCutOrCopy(m_box.blockState());
}

bool CommandClipboard::canPaste() const
{
    return editrules::canPaste(m_box.blockState(), m_box.clipboardState(),
                               m_box.clipboard().empty());
}

bool CommandClipboard::canUndo() const
{
    return m_box.canUndo();
}

bool CommandClipboard::canRedo() const
{
    return m_box.canRedo();
}

void CommandClipboard::Copy()
{
    m_box.copySelectionToClipboard();
}

void CommandClipboard::Cut()
{
    m_blocks.deleteSelection();
}

void CommandClipboard::reindentSelection()
{
    CommandList& list = m_box.list();
    const auto [first, last] = list.selectedRange();
    m_reindent.toIndent = m_box.IndentForInsert();
    if (first >= list.count())
        return;
    m_reindent.selIndent = list.line(first).item.indent;
    list.shiftIndents(first, last, m_reindent.toIndent - m_reindent.selIndent, true);
}

void CommandClipboard::Paste()
{
    CommandList& list = m_box.list();
    CommandList::Batch batch(list);
    const int first = list.selectedRange().first;
    if (first >= list.count() || m_box.clipboard().empty())
        return;
    m_box.beginUndoStep();
    // Only the pasted lines are selected afterwards and re-indented: whatever else was
    // highlighted stays as it is.
    list.deselectAll();
    list.insert(first, m_box.clipboard(), true);

    const auto [newFirst, newLast] = list.selectedRange();
    reindentSelection();
    if (newLast != newFirst)
        m_box.blockState().LinesSelected = true;
    m_box.SetChanged(true);
}

void CommandClipboard::Undo()
{
    if (!m_box.canUndo())
        return;
    CommandList::Batch batch(m_box.list());
    m_box.undo();
    m_box.UpdateSelectionFlags();
    m_box.SetChanged(true);
}

void CommandClipboard::Redo()
{
    if (!m_box.canRedo())
        return;
    CommandList::Batch batch(m_box.list());
    m_box.redo();
    m_box.UpdateSelectionFlags();
    m_box.SetChanged(true);
}

bool CommandClipboard::dropAllowedAt(int row)
{
    CommandList& list = m_box.list();
    if (row < 0 || row >= list.count())
        return false;
    list.setCursor(row);
    m_box.UpdateBlockState();
    return editrules::dropAllowed(m_box.blockState());
}

void CommandClipboard::Drop(int row)
{
    CommandList& list = m_box.list();
    if (row < 0 || row >= list.count())
        return;
    CommandList::Batch batch(list);
    m_box.beginUndoStep();
    list.setSelected(list.count() - 1, false);
    list.setCursor(row);
    const auto [first, last] = list.selectedRange();
    reindentSelection();

    int target = row;
    std::vector<int> sources;
    if (first > target) {
        for (int i = last; i >= first; --i)
            if (list.isSelected(i))
                sources.push_back(i + static_cast<int>(sources.size()));
    } else if (last < target) {
        --target;
        for (int i = first; i <= last; ++i)
            if (list.isSelected(i))
                sources.push_back(i - static_cast<int>(sources.size()));
    }
    for (int source : sources) {
        list.move(source, target);
        list.setSelected(target, true);
    }
    if (!sources.empty() || m_reindent.toIndent != m_reindent.selIndent)
        m_box.SetChanged(true);
}

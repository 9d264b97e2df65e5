#include "command_list.h"

#include <algorithm>
#include <iterator>
#include <utility>

CommandList::Batch::Batch(CommandList& list) : m_list(list)
{
    ++m_list.m_batchDepth;
}

CommandList::Batch::~Batch()
{
    if (--m_list.m_batchDepth == 0)
        m_list.settle();
}

void CommandList::settle()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    if (m_observer)
        m_observer->changesSettled();
}

CommandLines CommandList::copyLines(int first, int last) const
{
    first = std::max(first, 0);
    last = std::min(last, count() - 1);
    if (first > last)
        return {};
    return CommandLines(m_lines.begin() + first, m_lines.begin() + last + 1);
}

void CommandList::setCursor(int row)
{
    Batch b(*this);
    const int clamped = empty() ? -1 : std::clamp(row, 0, count() - 1);
    if (clamped != m_cursor) {
        m_cursor = clamped;
        touched();
    }
}

void CommandList::setSelected(int row, bool on)
{
    if (!validRow(row) || isSelected(row) == on)
        return;
    Batch b(*this);
    m_selected[static_cast<size_t>(row)] = on ? 1 : 0;
    touched();
}

void CommandList::selectRange(int first, int last)
{
    Batch b(*this);
    for (int i = std::max(first, 0); i <= last && i < count(); ++i)
        setSelected(i, true);
}

void CommandList::deselectAll()
{
    Batch b(*this);
    if (std::find(m_selected.begin(), m_selected.end(), 1) != m_selected.end()) {
        std::fill(m_selected.begin(), m_selected.end(), 0);
        touched();
    }
}

int CommandList::selectedCount() const
{
    return static_cast<int>(std::count(m_selected.begin(), m_selected.end(), 1));
}

std::pair<int, int> flaggedRange(const std::vector<char>& flags)
{
    const auto first = std::find(flags.begin(), flags.end(), 1);
    if (first == flags.end())
        return {static_cast<int>(flags.size()), 0};
    const auto last = std::find(flags.rbegin(), flags.rend(), 1);
    return {static_cast<int>(first - flags.begin()), static_cast<int>(flags.rend() - last) - 1};
}

std::pair<int, int> CommandList::selectedRange() const
{
    return flaggedRange(m_selected);
}

void CommandList::setSelection(const std::vector<char>& selected, int cursor)
{
    Batch b(*this);
    for (int i = 0; i < count(); ++i)
        setSelected(i, static_cast<size_t>(i) < selected.size() && selected[static_cast<size_t>(i)]);
    setCursor(cursor);
}

void CommandList::insert(int row, CommandBoxLine line, bool selected)
{
    CommandLines one;
    one.push_back(std::move(line));
    insert(row, std::move(one), selected);
}

void CommandList::insert(int row, CommandLines lines, bool selected)
{
    if (lines.empty())
        return;
    Batch b(*this);
    row = std::clamp(row, 0, count());
    const int n = static_cast<int>(lines.size());
    if (m_observer)
        m_observer->linesAboutToBeInserted(row, row + n - 1);
    // Into an empty list the lines are taken over whole: a loaded file is never copied.
    if (m_lines.empty())
        m_lines = std::move(lines);
    else
        m_lines.insert(m_lines.begin() + row, std::make_move_iterator(lines.begin()),
                       std::make_move_iterator(lines.end()));
    m_selected.insert(m_selected.begin() + row, static_cast<size_t>(n), selected ? 1 : 0);
    if (m_cursor < 0)
        m_cursor = row;
    if (m_observer)
        m_observer->linesInserted();
    record({ListEdit::Kind::Remove, row, n, {}, {}});
    touched();
}

void CommandList::append(CommandBoxLine line)
{
    insert(count(), std::move(line));
}

void CommandList::remove(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, count() - 1);
    if (first > last)
        return;
    Batch b(*this);
    if (m_observer)
        m_observer->linesAboutToBeRemoved(first, last);
    if (m_recorder) {
        // The removed lines themselves go to the recorder: nothing is copied.
        ListEdit undo;
        undo.kind = ListEdit::Kind::Insert;
        undo.row = first;
        undo.lines.assign(std::make_move_iterator(m_lines.begin() + first),
                          std::make_move_iterator(m_lines.begin() + last + 1));
        m_recorder->record(std::move(undo));
    }
    m_lines.erase(m_lines.begin() + first, m_lines.begin() + last + 1);
    m_selected.erase(m_selected.begin() + first, m_selected.begin() + last + 1);
    if (m_cursor > last)
        m_cursor -= last - first + 1;
    else if (m_cursor >= first)
        m_cursor = first;
    m_cursor = empty() ? -1 : std::min(m_cursor, count() - 1);
    if (m_observer)
        m_observer->linesRemoved();
    touched();
}

void CommandList::move(int from, int to)
{
    if (!validRow(from) || !validRow(to) || from == to)
        return;
    Batch b(*this);
    if (m_observer)
        m_observer->lineAboutToBeMoved(from, to);
    auto rotateOne = [&](auto& v) {
        if (from < to)
            std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
        else
            std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
    };
    rotateOne(m_lines);
    rotateOne(m_selected);
    if (m_observer)
        m_observer->lineMoved();
    record({ListEdit::Kind::Move, to, from, {}, {}});
    touched();
}

void CommandList::setEntry(int row, std::string displayText, std::string commandLine)
{
    if (!validRow(row))
        return;
    CommandBoxLine& l = m_lines[static_cast<size_t>(row)];
    if (l.displayText == displayText && l.item.data == commandLine)
        return;
    Batch b(*this);
    ListEdit undo;
    undo.kind = ListEdit::Kind::SetEntry;
    undo.row = row;
    undo.lines.resize(1);
    undo.lines[0].displayText = std::exchange(l.displayText, std::move(displayText));
    undo.lines[0].item.data = std::exchange(l.item.data, std::move(commandLine));
    record(std::move(undo));
    if (m_observer)
        m_observer->linesChanged(row, row);
    touched();
}

void CommandList::setIndent(int row, int indent)
{
    setIndents(row, {indent});
}

void CommandList::setIndents(int first, const std::vector<int>& indents)
{
    if (first < 0)
        return;
    const int last = std::min(first + static_cast<int>(indents.size()), count()) - 1;
    auto wanted = [&](int row) { return indents[static_cast<size_t>(row - first)]; };
    auto indentOf = [&](int row) -> int& { return m_lines[static_cast<size_t>(row)].item.indent; };
    int changedFirst = first;
    while (changedFirst <= last && indentOf(changedFirst) == wanted(changedFirst))
        ++changedFirst;
    int changedLast = last;
    while (changedLast >= changedFirst && indentOf(changedLast) == wanted(changedLast))
        --changedLast;
    if (changedFirst > changedLast)
        return;
    Batch b(*this);
    ListEdit undo;
    undo.kind = ListEdit::Kind::SetIndents;
    undo.row = changedFirst;
    for (int i = changedFirst; i <= changedLast; ++i)
        undo.indents.push_back(std::exchange(indentOf(i), wanted(i)));
    if (m_observer)
        m_observer->linesChanged(changedFirst, changedLast);
    record(std::move(undo));
    touched();
}

void CommandList::shiftIndents(int first, int last, int delta, bool selectedOnly)
{
    first = std::max(first, 0);
    last = std::min(last, count() - 1);
    if (first > last || delta == 0)
        return;
    std::vector<int> indents;
    indents.reserve(static_cast<size_t>(last - first + 1));
    for (int i = first; i <= last; ++i) {
        const int indent = m_lines[static_cast<size_t>(i)].item.indent;
        indents.push_back(selectedOnly && !isSelected(i) ? indent : std::max(0, indent + delta));
    }
    setIndents(first, indents);
}

void CommandList::assign(const CommandLines& lines)
{
    Batch b(*this);
    const int cursor = m_cursor;
    deselectAll();
    const size_t n = m_lines.size();
    const size_t m = lines.size();
    size_t prefix = 0;
    while (prefix < n && prefix < m && m_lines[prefix] == lines[prefix])
        ++prefix;
    size_t suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix
           && m_lines[n - 1 - suffix] == lines[m - 1 - suffix])
        ++suffix;
    if (n - suffix > prefix)
        remove(static_cast<int>(prefix), static_cast<int>(n - suffix) - 1);
    if (m - suffix > prefix)
        insert(static_cast<int>(prefix),
               CommandLines(lines.begin() + static_cast<long>(prefix),
                            lines.begin() + static_cast<long>(m - suffix)));
    m_cursor = cursor;
    setCursor(cursor < 0 ? 0 : cursor);
    touched();
}

void CommandList::clear()
{
    Batch b(*this);
    remove(0, count() - 1);
    m_cursor = -1;
}

void CommandList::apply(ListEdit&& edit)
{
    switch (edit.kind) {
    case ListEdit::Kind::Insert:
        insert(edit.row, std::move(edit.lines));
        break;
    case ListEdit::Kind::Remove:
        remove(edit.row, edit.row + edit.count - 1);
        break;
    case ListEdit::Kind::Move:
        move(edit.row, edit.count);
        break;
    case ListEdit::Kind::SetEntry:
        if (!edit.lines.empty())
            setEntry(edit.row, std::move(edit.lines[0].displayText),
                     std::move(edit.lines[0].item.data));
        break;
    case ListEdit::Kind::SetIndents:
        setIndents(edit.row, edit.indents);
        break;
    }
}

#include "answer_box_editor.h"

#include "commandbox/command_list.h"

#include <algorithm>

AnswerBoxEditor::AnswerBoxEditor()
{
    reset();
}

bool AnswerBoxEditor::isEndMarker(const Line& line)
{
    return line.shownText.find(kEndMarker) != std::string::npos;
}

bool AnswerBoxEditor::isEndMarkerRow(int row) const
{
    return row >= 0 && row < count() && isEndMarker(line(row));
}

bool AnswerBoxEditor::holdsMoreThanEndMarker() const
{
    const Lines& lines = m_lines.lines();
    return std::any_of(lines.begin(), lines.end(), [](const Line& l) { return !isEndMarker(l); });
}

std::vector<std::string> AnswerBoxEditor::templateTexts() const
{
    std::vector<std::string> out;
    out.reserve(m_lines.size());
    for (const Line& l : m_lines.lines())
        out.push_back(l.templateText);
    return out;
}

void AnswerBoxEditor::setCurrent(int row)
{
    m_current = count() == 0 ? -1 : std::clamp(row, 0, count() - 1);
}

void AnswerBoxEditor::setSelected(int row, bool on)
{
    if (row >= 0 && row < count())
        m_selected[static_cast<size_t>(row)] = on ? 1 : 0;
}

void AnswerBoxEditor::setSelection(const std::vector<char>& selected, int current)
{
    for (int i = 0; i < count(); ++i)
        m_selected[static_cast<size_t>(i)] =
                static_cast<size_t>(i) < selected.size() && selected[static_cast<size_t>(i)];
    setCurrent(current);
}

void AnswerBoxEditor::deselectAll()
{
    std::fill(m_selected.begin(), m_selected.end(), 0);
}

std::pair<int, int> AnswerBoxEditor::selectedRange() const
{
    return flaggedRange(m_selected);
}

void AnswerBoxEditor::resizeSelection()
{
    m_selected.assign(m_lines.size(), 0);
    setCurrent(m_current < 0 ? 0 : m_current);
}

void AnswerBoxEditor::clear()
{
    m_lines.clear();
    m_selected.clear();
    m_current = -1;
}

void AnswerBoxEditor::reset()
{
    clear();
    m_snapshot.clear();
    m_clipboard.clear();
    appendLine(kEndMarker);
    m_current = 0;
}

void AnswerBoxEditor::appendLine(std::string text)
{
    m_lines.append(std::move(text));
    m_selected.push_back(0);
    if (m_current < 0)
        m_current = 0;
}

void AnswerBoxEditor::insertLine(std::string text)
{
    const int at = m_current < 0 ? count() : m_current;
    m_lines.insert(static_cast<size_t>(at), std::move(text));
    m_selected.insert(m_selected.begin() + at, 0);
    if (m_current < 0)
        m_current = 0;
}

void AnswerBoxEditor::assign(const std::vector<std::string>& templates)
{
    // Room for every line at once: a long answer section is never copied while it grows.
    Lines lines;
    lines.reserve(templates.size() + 1);
    for (const std::string& t : templates)
        lines.push_back({t, t});
    if (lines.empty() || !isEndMarker(lines.back()))
        lines.push_back({kEndMarker, kEndMarker});
    m_lines.assign(std::move(lines));
    m_selected.assign(m_lines.size(), 0);
    m_current = 0;
}

bool AnswerBoxEditor::canEdit() const
{
    return m_current >= 0 && !isEndMarkerRow(m_current);
}

void AnswerBoxEditor::insertText(std::string text)
{
    takeSnapshot();
    const int at = m_current < 0 ? count() : m_current;
    m_lines.insert(static_cast<size_t>(at), std::move(text));
    m_selected.insert(m_selected.begin() + at, 0);
    // The line that was current keeps the selection, one further down now.
    m_current = at + 1;
    if (m_current >= count())
        m_current = count() - 1;
}

void AnswerBoxEditor::editText(std::string text)
{
    if (!canEdit())
        return;
    takeSnapshot();
    m_lines.setTemplate(static_cast<size_t>(m_current), std::move(text));
}

void AnswerBoxEditor::deleteCurrent()
{
    if (!canEdit())
        return;
    // Unlike a plain list box, Undo brings a deleted template back.
    takeSnapshot();
    const int row = m_current;
    m_lines.remove(static_cast<size_t>(row));
    m_selected.erase(m_selected.begin() + row);
    setCurrent(row);
    deselectAll();
    setSelected(m_current, true);
}

void AnswerBoxEditor::clearAll()
{
    takeSnapshot();
    m_clipboard.clear();
    clear();
    appendLine(kEndMarker);
    m_current = 0;
}

void AnswerBoxEditor::takeSnapshot()
{
    m_snapshot = m_lines.lines();
}

void AnswerBoxEditor::undo()
{
    if (m_snapshot.empty())
        return;
    m_lines.assign(std::move(m_snapshot));
    m_snapshot.clear();
    resizeSelection();
}

std::vector<int> AnswerBoxEditor::copyRows() const
{
    auto [first, last] = selectedRange();
    if (first > last) {
        if (m_current < 0)
            return {};
        first = last = m_current;
    }
    std::vector<int> rows;
    for (int i = first; i <= last; ++i)
        if (!isEndMarkerRow(i))
            rows.push_back(i);
    return rows;
}

void AnswerBoxEditor::removeRows(const std::vector<int>& rows)
{
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        m_lines.remove(static_cast<size_t>(*it));
        m_selected.erase(m_selected.begin() + *it);
    }
}

void AnswerBoxEditor::copy()
{
    m_clipboard.clear();
    for (int row : copyRows())
        m_clipboard.push_back(line(row));
}

void AnswerBoxEditor::cut()
{
    takeSnapshot();
    const std::vector<int> rows = copyRows();
    copy();
    if (rows.empty())
        return;
    // The lines copied are the lines that go, so a paste puts back exactly what was cut.
    removeRows(rows);
    deselectAll();
    setCurrent(rows.front());
    setSelected(m_current, true);
}

void AnswerBoxEditor::paste()
{
    takeSnapshot();
    int first = selectedRange().first;
    if (first >= count()) {
        // Nothing selected: the current line stands for the selection.
        if (m_current < 0)
            return;
        first = m_current;
        setSelected(m_current, true);
    }
    for (size_t i = 0; i < m_clipboard.size(); ++i) {
        const int at = first + static_cast<int>(i);
        m_lines.insert(static_cast<size_t>(at), m_clipboard[i]);
        m_selected.insert(m_selected.begin() + at, 1);
    }
    const auto range = selectedRange();
    if (range.first <= range.second)
        setSelected(range.second, false);
    setCurrent(first);
}

void AnswerBoxEditor::drop(int target)
{
    if (target < 0 || target >= count())
        return;
    takeSnapshot();
    for (int i = 0; i < count(); ++i)
        if (isEndMarkerRow(i))
            setSelected(i, false);
    const auto [first, last] = selectedRange();
    if (first > last || (target >= first && target <= last))
        return;
    Lines moved;
    Lines kept;
    int before = 0; // selected lines in front of the target
    for (int i = 0; i < count(); ++i) {
        if (isSelected(i)) {
            moved.push_back(line(i));
            if (i < target)
                ++before;
        } else {
            kept.push_back(line(i));
        }
    }
    const int at = target - before;
    Lines lines = kept;
    lines.insert(lines.begin() + at, moved.begin(), moved.end());
    m_lines.assign(std::move(lines));
    m_selected.assign(m_lines.size(), 0);
    for (size_t i = 0; i < moved.size(); ++i)
        m_selected[static_cast<size_t>(at) + i] = 1;
    m_current = at;
}

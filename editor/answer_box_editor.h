#pragma once
// The answer box as logic: its template lines (the last one the end marker "<End>"), the
// current line and the selection, the one-step undo snapshot and the answer clipboard, and
// every editing step of the answer data tab. The frame shows it and asks the user; the
// steps here never ask anything.

#include "transmission/answer_templates.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class AnswerBoxEditor {
public:
    using Line = lmx::AnswerTemplates::Line;
    using Lines = std::vector<Line>;

    static constexpr const char* kEndMarker = "<End>";

    // The box with its end marker alone.
    AnswerBoxEditor();

    const lmx::AnswerTemplates& templates() const { return m_lines; }
    int count() const { return static_cast<int>(m_lines.size()); }
    const Line& line(int row) const { return m_lines.lines()[static_cast<size_t>(row)]; }
    // A line counts as the end marker when the text it shows contains "<End>".
    static bool isEndMarker(const Line& line);
    bool isEndMarkerRow(int row) const;
    // Some line besides the end marker.
    bool holdsMoreThanEndMarker() const;
    // The templates in line order, the end marker included (what the command file saves).
    std::vector<std::string> templateTexts() const;

    // The current line (-1 only while the box is empty) and the selection.
    int current() const { return m_current; }
    void setCurrent(int row);
    bool isSelected(int row) const { return m_selected[static_cast<size_t>(row)] != 0; }
    void setSelected(int row, bool on);
    // Takes over a selection made in the view: one flag per line and the current row.
    void setSelection(const std::vector<char>& selected, int current);
    void deselectAll();
    // Lowest and highest selected row; (count, 0) when nothing is selected.
    std::pair<int, int> selectedRange() const;

    // No line at all (New file and loading empty the box before they add lines).
    void clear();
    // New file: the end marker alone, snapshot and clipboard emptied.
    void reset();
    // A line whose template and text are `text`, at the end (the command file's answer
    // section) or before the current line.
    void appendLine(std::string text);
    void insertLine(std::string text);
    // Loading a command file: its answer lines, the end marker last.
    void assign(const std::vector<std::string>& templates);

    // A data answer written into the placeholders; Restore shows the templates again.
    bool fill(std::string_view data) { return m_lines.FillAnswerTemplates(data); }
    void restore() { m_lines.Restore(); }

    // The steps of the answer data tab.
    bool canEdit() const; // the current line is not the end marker
    // Insert: a snapshot, then a new line before the current one; the current line moves
    // down with its line.
    void insertText(std::string text);
    // Edit: a snapshot, then the current line's template and text.
    void editText(std::string text);
    // Delete: the current line goes (never the end marker).
    void deleteCurrent();
    // Clear after the user's Yes: a snapshot, the clipboard emptied, the end marker alone.
    void clearAll();

    // One-step undo.
    void takeSnapshot();
    bool snapshotEmpty() const { return m_snapshot.empty(); }
    void undo();

    // The answer clipboard.
    bool clipboardEmpty() const { return m_clipboard.empty(); }
    const Lines& clipboard() const { return m_clipboard; }
    void copy();
    void cut();
    void paste();
    // Moves the selected lines in front of `target` (a drop on that line).
    void drop(int target);

private:
    // The rows Copy and Cut take: every line from the first to the last selected one (the
    // current line when nothing is selected), the end marker left out.
    std::vector<int> copyRows() const;
    void removeRows(const std::vector<int>& rows);
    void resizeSelection();

    lmx::AnswerTemplates m_lines;
    std::vector<char> m_selected;
    int m_current = -1;
    Lines m_snapshot;
    Lines m_clipboard;
};

#pragma once
// The lines of the command box with their cursor and selection. Every change is reported to
// one observer as it happens (the list model adapter turns the reports into row signals), and
// the end of a group of changes once, so a view follows without being rebuilt.

#include "widgets/lb_item.h"

#include <string>
#include <utility>
#include <vector>

// One line of the command box: what it shows and its attributes; the item's data holds the
// command line.
struct CommandBoxLine {
    std::string displayText;
    TLBItem item;

    const std::string& commandLine() const { return item.data; }
    bool operator==(const CommandBoxLine& o) const
    {
        return displayText == o.displayText && item == o.item;
    }
    bool operator!=(const CommandBoxLine& o) const { return !(*this == o); }
};
using CommandLines = std::vector<CommandBoxLine>;

// Lowest and highest index of a set flag; (flags.size(), 0) when none is set. The selected
// range of a list with one flag per line.
std::pair<int, int> flaggedRange(const std::vector<char>& flags);

class CommandListObserver {
public:
    virtual ~CommandListObserver() = default;
    virtual void linesAboutToBeInserted(int first, int last) = 0;
    virtual void linesInserted() = 0;
    virtual void linesAboutToBeRemoved(int first, int last) = 0;
    virtual void linesRemoved() = 0;
    // `to` is the line's index after the move.
    virtual void lineAboutToBeMoved(int from, int to) = 0;
    virtual void lineMoved() = 0;
    virtual void linesChanged(int first, int last) = 0;
    // A group of changes (lines, selection or cursor) is complete.
    virtual void changesSettled() = 0;
};

class CommandList {
public:
    // Groups changes: the observer hears changesSettled() once, when the outermost group ends.
    class Batch {
    public:
        explicit Batch(CommandList& list);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        CommandList& m_list;
    };

    void setObserver(CommandListObserver* observer) { m_observer = observer; }

    int count() const { return static_cast<int>(m_lines.size()); }
    bool empty() const { return m_lines.empty(); }
    const CommandBoxLine& line(int row) const { return m_lines[static_cast<size_t>(row)]; }
    const CommandLines& lines() const { return m_lines; }
    // Copies of the lines first..last, every one in between (selected or not).
    CommandLines copyLines(int first, int last) const;

    // The current line; -1 only while the list is empty. setCursor clamps to the list.
    int cursor() const { return m_cursor; }
    void setCursor(int row);

    bool isSelected(int row) const { return m_selected[static_cast<size_t>(row)] != 0; }
    void setSelected(int row, bool on);
    void selectRange(int first, int last);
    void deselectAll();
    int selectedCount() const;
    // Lowest and highest selected row; (count, 0) when nothing is selected.
    std::pair<int, int> selectedRange() const;
    // Takes over a selection made in a view: one flag per line and the current row.
    void setSelection(const std::vector<char>& selected, int cursor);

    // Inserts before `row` (0..count); the cursor keeps its index.
    void insert(int row, CommandBoxLine line, bool selected = false);
    void insert(int row, CommandLines lines, bool selected = false);
    void append(CommandBoxLine line);
    // Removes first..last; a cursor behind them moves up with its line.
    void remove(int first, int last);
    // Moves one line so that it stands at index `to` afterwards; it keeps its selected state.
    void move(int from, int to);
    void setEntry(int row, std::string displayText, std::string commandLine);
    void setIndent(int row, int indent);
    // Adds `delta` to the indent of the lines first..last (only the selected ones when asked),
    // never below 0.
    void shiftIndents(int first, int last, int delta, bool selectedOnly);
    // Makes the list equal to `lines`, changing only the rows that differ (a common start and
    // end stay); nothing is selected afterwards and the cursor keeps its index.
    void assign(const CommandLines& lines);
    void clear();

private:
    bool validRow(int row) const { return row >= 0 && row < count(); }
    void touched() { m_dirty = true; }
    void settle();

    CommandLines m_lines;
    std::vector<char> m_selected;
    int m_cursor = -1;
    CommandListObserver* m_observer = nullptr;
    int m_batchDepth = 0;
    bool m_dirty = false;
};

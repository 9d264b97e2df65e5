#pragma once
// The lines of the command box with their cursor and selection. Every change is reported to
// one observer as it happens (the list model adapter turns the reports into row signals), and
// the end of a group of changes once, so a view follows without being rebuilt. Every change
// of the lines is also handed to a recorder, as the edit that takes it back: undo replays
// those edits instead of keeping copies of the whole list.

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

// One change of the lines, as a list can apply it. Recorded as the inverse of a change just
// made; applying it records its own inverse in turn, which is how undo and redo alternate.
struct ListEdit {
    enum class Kind {
        Insert,     // `lines` in front of `row`
        Remove,     // `count` lines from `row`
        Move,       // the line at `row` to index `count`
        SetEntry,   // `row` gets the display text and command line of lines[0]
        SetIndents, // rows from `row` get `indents`
    };
    Kind kind = Kind::Insert;
    int row = 0;
    int count = 0;
    CommandLines lines;
    std::vector<int> indents;
};

class ListRecorder {
public:
    virtual ~ListRecorder() = default;
    virtual void record(ListEdit&& inverse) = 0;
};

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
    void setRecorder(ListRecorder* recorder) { m_recorder = recorder; }

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
    // The rows from `first` get these indents (as far as the list reaches).
    void setIndents(int first, const std::vector<int>& indents);
    // Adds `delta` to the indent of the lines first..last (only the selected ones when asked),
    // never below 0.
    void shiftIndents(int first, int last, int delta, bool selectedOnly);
    // Makes the list equal to `lines`, changing only the rows that differ (a common start and
    // end stay); nothing is selected afterwards and the cursor keeps its index.
    void assign(const CommandLines& lines);
    void clear();
    // Makes the change an edit describes (through the operations above, so it is reported and
    // recorded as they are).
    void apply(ListEdit&& edit);

private:
    void record(ListEdit&& inverse)
    {
        if (m_recorder)
            m_recorder->record(std::move(inverse));
    }

    bool validRow(int row) const { return row >= 0 && row < count(); }
    void touched() { m_dirty = true; }
    void settle();

    CommandLines m_lines;
    std::vector<char> m_selected;
    int m_cursor = -1;
    CommandListObserver* m_observer = nullptr;
    ListRecorder* m_recorder = nullptr;
    int m_batchDepth = 0;
    bool m_dirty = false;
};

#pragma once
// The command box model: the command list with its flag sets, internal clipboard, undo
// history, file name, changed flag and window title. Every change of the list goes through
// InsertCommandLine and ReplaceCommandLine (or the editing operations built on this class:
// block editing, clipboard, undo and drop); the hex box is a second view of the same lines.

#include "block_state.h"
#include "command_history.h"
#include "command_list.h"

#include <functional>
#include <string>
#include <string_view>

class CommandBox {
public:
    static constexpr const char* kNewFileName = "NEWFILE.LMX";
    static constexpr const char* kApplicationTitle = "Orvanta";
    static constexpr const char* kFontName = "MS Sans Serif";

    // A new list: the end line alone, named NEWFILE.LMX, unchanged.
    CommandBox();

    CommandList& list() { return m_list; }
    const CommandList& list() const { return m_list; }
    BlockState& blockState() { return m_blockState; }
    const BlockState& blockState() const { return m_blockState; }
    ClipboardState& clipboardState() { return m_clipboardState; }
    const ClipboardState& clipboardState() const { return m_clipboardState; }

    // The internal clipboard.
    CommandLines& clipboard() { return m_clipboard; }
    const CommandLines& clipboard() const { return m_clipboard; }
    // Copy to clipboard: the selected range (every line from the first to the last selected)
    // replaces the clipboard, and ClipboardState takes BlockState's flags.
    void copySelectionToClipboard();

    // Undo and redo, step by step. An editing action begins a step; the changes it makes
    // from then on are undone together. A step that changes nothing leaves the last real
    // change undoable.
    const CommandHistory& history() const { return m_history; }
    void beginUndoStep() { m_history.beginStep(); }
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    // The list as before the last step (or after the last undone one); the cursor keeps its
    // index and is the one line selected afterwards.
    void undo();
    void redo();
    void clearUndoHistory() { m_history.clear(); }
    // The cursor line alone is selected: the line the next edit acts on is the one shown.
    void selectCursorLine();

    // Size and style of the command box's font, given to every new line.
    void setLineFont(int pointSize, unsigned style);
    // A line as the command box makes it: white background, "MS Sans Serif", the colour of
    // its kind, the given indent.
    CommandBoxLine makeLine(std::string displayText, std::string commandLine, int indent) const;

    // Inserts a line before the cursor line; the cursor then designates the new line, which is
    // the one selected. Begins an undo step first; the line's indent is IndentForInsert().
    void InsertCommandLine(std::string displayText, std::string commandLine);
    // Replaces the cursor line's display text and command line; colour and indent stay.
    void ReplaceCommandLine(std::string displayText, std::string commandLine);
    // Appends a line with the given indent, without an undo step of its own (the command file
    // reader adds its lines and then the end line this way).
    void addLine(std::string displayText, std::string commandLine, int indent);
    void addEndLine();

    void UpdateBlockState();
    // True when the cursor stands in a block with these tags: found scanning up from the line
    // above the cursor (start tag; an end tag first, or in the same line, means outside) and
    // found scanning down from the cursor line (end tag; a start tag first, or in the same
    // line, means outside).
    bool IsInBlock(std::string_view startTag, std::string_view endTag) const;
    int IndentForInsert();
    // A block marker or the end line: the text contains a block tag or "<End>" anywhere.
    static bool IsBlockCommand(std::string_view displayText);
    void UpdateSelectionFlags();
    void ResetFlags();
    // Undo step, ResetFlags, every line removed; the caller adds the end line.
    void ClearCommandBox();
    // New file: the end line alone, flags, clipboard and undo history emptied, NEWFILE.LMX,
    // unchanged.
    void newFile();

    void SetChanged(bool changed);
    bool Changed() const { return m_changed; }
    const std::string& fileName() const { return m_fileName; }
    void setFileName(std::string fileName);
    // File name, two blanks and the application title; " *" while changed.
    std::string title() const;
    void setTitleHandler(std::function<void(const std::string&)> handler)
    {
        m_titleHandler = std::move(handler);
    }

    // The cursor line, or an empty line when the list is empty.
    const CommandBoxLine& cursorLine() const;

private:
    void titleChanged();

    CommandList m_list;
    BlockState m_blockState;
    ClipboardState m_clipboardState;
    CommandLines m_clipboard;
    CommandHistory m_history;
    int m_fontSize = 8;
    unsigned m_fontStyle = 0;
    std::string m_fileName = kNewFileName;
    bool m_changed = false;
    std::function<void(const std::string&)> m_titleHandler;
};

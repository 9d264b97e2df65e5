#pragma once
// The command box's own clipboard, its undo and redo and the moving of lines by dragging.
// Lines travel with their bytes, attributes and block context, never through the system
// clipboard.

class BlockEditor;
class CommandBox;

class CommandClipboard {
public:
    // The two numbers of the last re-indent: the indent of the target position and the
    // indent the group's first line had.
    struct Reindent {
        int toIndent = 0;
        int selIndent = 0;
    };

    CommandClipboard(CommandBox& box, BlockEditor& blocks);

    // Enabling with the command box focused.
    bool canCutOrCopy() const;
    bool canPaste() const;
    bool canUndo() const;
    bool canRedo() const;

    void Copy();
    // The delete decision of the block actions ("Delete whole Block ??" for a whole block).
    void Cut();
    // Inserts the clipboard in front of the first selected line, re-indented to that place,
    // and leaves the pasted lines selected.
    void Paste();
    // Brings back the list as it was before the last editing step; each Undo goes one step
    // further back. Redo makes the last undone step again. The cursor keeps its index and its
    // line is the one selected.
    void Undo();
    void Redo();

    // Whether the selected lines may be dropped on `row`. The cursor follows the mouse: it is
    // put on `row` and the block flags are recomputed there first.
    bool dropAllowedAt(int row);
    // Moves the selected lines in front of `row` (the end line never moves), re-indented to
    // their new place; they stay selected.
    void Drop(int row);

    const Reindent& lastReindent() const { return m_reindent; }

private:
    void reindentSelection();

    CommandBox& m_box;
    BlockEditor& m_blocks;
    Reindent m_reindent;
};

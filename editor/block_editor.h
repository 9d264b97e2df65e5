#pragma once
// Structural editing of the command list: inserting and renumbering display, message, page
// and line blocks, selecting a whole block, deleting a block with or without its content,
// deleting single lines and clearing the list. Questions go through UserDialogs, the block
// number through the Insert Data dialog.

#include "dialogs/ask_data_rules.h"
#include "protocol/vocabulary.h"

#include <array>

class CommandBox;
class ParameterDialogs;
class UserDialogs;

// Maximum, default and minimum of a block number, from the command buttons' parameter table.
struct BlockNumberLimits {
    long long maximum = 100;
    long long defaultValue = 1;
    long long minimum = 0;
};

class BlockEditor {
public:
    enum class DeleteForm { WholeBlock, MarkersOnly, SelectedLines };

    BlockEditor(CommandBox& box, ParameterDialogs& parameters, UserDialogs& dialogs);

    void setNumberLimits(lmx::BlockKind kind, const BlockNumberLimits& limits);
    const BlockNumberLimits& numberLimits(lmx::BlockKind kind) const;

    // The block routine of a kind. AskMode 3: asks for the number and inserts the end line,
    // then the start line, before the cursor line. AskMode 7: asks for a new number, pre-filled
    // from the cursor line, and replaces the cursor line's start marker. True when the list
    // changed.
    bool blockRoutine(lmx::BlockKind kind, AskMode askMode);
    bool insertBlock(lmx::BlockKind kind);
    bool renumberBlock(lmx::BlockKind kind);

    // Shift+double-click: on a marker line selects its whole block (up to the partner marker);
    // on a plain line selects it and the plain lines below it up to the next marker or the
    // end line. A marker without partner selects up to the first or last line and sets no
    // block flag.
    void SelectBlock();

    void DeleteLines(DeleteForm form);
    // The Delete Block actions and Cut: with a whole block selected asks "Delete whole
    // Block ??" (Yes: with its content, No: the markers only, Cancel: nothing), otherwise
    // deletes the selected lines. A block flag whose block is no longer what is selected
    // deletes nothing (and beeps).
    void deleteSelection();
    // The selection is still the whole block the block flags name: contiguous, from a start
    // marker to the end marker of a selected kind.
    bool selectionIsWholeBlock() const;
    // Delete Single: the selected lines (or the cursor line) without a question.
    void DeleteSingle();
    // Clear window: asks first; Yes leaves the end line alone. True when cleared.
    bool ClearWindow();

private:
    CommandBox& m_box;
    ParameterDialogs& m_parameters;
    UserDialogs& m_dialogs;
    std::array<BlockNumberLimits, 4> m_limits{};
};

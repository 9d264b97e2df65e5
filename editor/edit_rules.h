#pragma once
// When each editing action of the command box is available: pure functions of BlockState,
// ClipboardState and the cursor line, so the rules are checked without a window.

#include "commandbox/block_state.h"
#include "protocol/vocabulary.h"

#include <string_view>

namespace editrules {

// Insert Display/Message/Page/Line: a block stands only inside blocks of outer kinds, and
// nothing is inserted while a whole block is selected.
bool canInsertBlock(lmx::BlockKind kind, const BlockState& s);
// The "Insert Block..." submenu: exactly when a line block could be inserted.
bool canOpenInsertBlock(const BlockState& s);
// Delete Block > kind: that kind's whole block is selected.
bool canDeleteBlock(lmx::BlockKind kind, const BlockState& s);
bool canOpenDeleteBlock(const BlockState& s);
// Delete Single: the cursor line is neither a block marker nor the end line.
bool canDeleteSingle(std::string_view cursorDisplayText);
// Edit Data: the cursor line's command line is editable.
bool canEditData(std::string_view cursorCommandLine);
// Clear window: anything besides the end line.
bool canClearCommandBox(int lineCount);
// Force Packet and New Packet: only with the extended protocol.
bool canInsertPacketBreak(bool extendedLmx);

// The clipboard actions with the command box focused.
bool canCutOrCopy(const BlockState& s);
// Where the clipboard may go by the kind of lines it holds (ClipboardState) and the blocks
// around the cursor (BlockState).
bool clipboardRuleAllows(const ClipboardState& clip, const BlockState& s);
bool canPaste(const BlockState& s, const ClipboardState& clip, bool clipboardEmpty);
// Undo (and Redo) with steps to take back (or to make again).
bool canUndo(bool stepsEmpty);

// A drop at the line under the mouse, with BlockState updated there: refused for a drag that
// started on a marker or the end line without a whole block, and for a whole block where that
// kind of block may not stand.
bool dropAllowed(const BlockState& s);

} // namespace editrules

#include "edit_rules.h"

#include "commandbox/command_box.h"
#include "edit_dispatch.h"

namespace editrules {

namespace {

// True when the cursor stands in a block of `kind` or of a kind inside it, where a block of
// `kind` may not stand.
bool insideSameOrInner(lmx::BlockKind kind, const BlockState& s)
{
    switch (kind) {
    case lmx::BlockKind::Display:
        return s.InDisplayBlock || s.InMessageBlock || s.InPageBlock || s.InLineBlock;
    case lmx::BlockKind::Message:
        return s.InMessageBlock || s.InPageBlock || s.InLineBlock;
    case lmx::BlockKind::Page:
        return s.InPageBlock || s.InLineBlock;
    case lmx::BlockKind::Line:
        return s.InLineBlock;
    }
    return true;
}

bool kindSelected(lmx::BlockKind kind, const BlockState& s)
{
    switch (kind) {
    case lmx::BlockKind::Display:
        return s.DisplayBlockSelected;
    case lmx::BlockKind::Message:
        return s.MessageBlockSelected;
    case lmx::BlockKind::Page:
        return s.PageBlockSelected;
    case lmx::BlockKind::Line:
        return s.LineBlockSelected;
    }
    return false;
}

} // namespace

bool canInsertBlock(lmx::BlockKind kind, const BlockState& s)
{
    return !insideSameOrInner(kind, s) && !s.BlockSelected;
}

bool canOpenInsertBlock(const BlockState& s)
{
    return canInsertBlock(lmx::BlockKind::Line, s);
}

bool canDeleteBlock(lmx::BlockKind kind, const BlockState& s)
{
    return kindSelected(kind, s);
}

bool canOpenDeleteBlock(const BlockState& s)
{
    return s.DisplayBlockSelected || s.MessageBlockSelected || s.PageBlockSelected
        || s.LineBlockSelected;
}

bool canDeleteSingle(std::string_view cursorDisplayText)
{
    return !CommandBox::IsBlockCommand(cursorDisplayText);
}

bool canEditData(std::string_view cursorCommandLine)
{
    return isEditable(cursorCommandLine);
}

bool canClearCommandBox(int lineCount)
{
    return lineCount > 1;
}

bool canInsertPacketBreak(bool extendedLmx)
{
    return extendedLmx;
}

bool canCutOrCopy(const BlockState& s)
{
    return !s.OnBlockCommand;
}

bool clipboardRuleAllows(const ClipboardState& clip, const BlockState& s)
{
    // The kinds outermost first, so the first whole block flag found is the widest rule.
    for (lmx::BlockKind kind : lmx::kBlockKinds)
        if (kindSelected(kind, clip))
            return !insideSameOrInner(kind, s);
    return !clip.OnBlockCommand;
}

bool canPaste(const BlockState& s, const ClipboardState& clip, bool clipboardEmpty)
{
    return !clipboardEmpty && !s.BlockSelected && !s.LinesSelected && clipboardRuleAllows(clip, s);
}

bool canUndo(bool stepsEmpty)
{
    return !stepsEmpty;
}

bool dropAllowed(const BlockState& s)
{
    if (s.OnBlockCommand)
        return false;
    for (lmx::BlockKind kind : lmx::kBlockKinds)
        if (kindSelected(kind, s))
            return !insideSameOrInner(kind, s);
    return true;
}

} // namespace editrules

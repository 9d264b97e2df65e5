#include "block_editor.h"

#include "commandbox/command_box.h"
#include "dialogs/ask_data_rules.h"
#include "dialogs/parameter_dialogs.h"
#include "platform/user_dialogs.h"

#include <string_view>

namespace {

bool contains(std::string_view text, std::string_view tag)
{
    return text.find(tag) != std::string_view::npos;
}

// The ...BlockSelected flag of a kind.
bool BlockState::*selectedFlag(lmx::BlockKind kind)
{
    switch (kind) {
    case lmx::BlockKind::Display:
        return &BlockState::DisplayBlockSelected;
    case lmx::BlockKind::Message:
        return &BlockState::MessageBlockSelected;
    case lmx::BlockKind::Page:
        return &BlockState::PageBlockSelected;
    case lmx::BlockKind::Line:
        break;
    }
    return &BlockState::LineBlockSelected;
}

} // namespace

BlockEditor::BlockEditor(CommandBox& box, ParameterDialogs& parameters, UserDialogs& dialogs)
    : m_box(box), m_parameters(parameters), m_dialogs(dialogs)
{
}

void BlockEditor::setNumberLimits(lmx::BlockKind kind, const BlockNumberLimits& limits)
{
    m_limits[static_cast<size_t>(kind)] = limits;
}

const BlockNumberLimits& BlockEditor::numberLimits(lmx::BlockKind kind) const
{
    return m_limits[static_cast<size_t>(kind)];
}

bool BlockEditor::blockRoutine(lmx::BlockKind kind, AskMode askMode)
{
    const bool replace = askMode == AskMode::EditHex2;
    if (!replace && askMode != AskMode::InsertHex2)
        return false;
    if (replace && m_box.list().cursor() < 0)
        return false;

    const lmx::BlockInfo& info = lmx::blockInfo(kind);
    const BlockNumberLimits& limits = numberLimits(kind);
    AskValueRequest request;
    request.askMode = askMode;
    request.caption = info.numberCaption;
    request.maximum = limits.maximum;
    request.defaultValue = limits.defaultValue;
    request.minimum = limits.minimum;
    if (replace)
        request.currentText = prefillText(askMode, m_box.cursorLine().displayText);
    const AskResult answer = m_parameters.AskValue(request);
    if (!answer.confirmed)
        return false;

    const lmx::CommandEntry start = lmx::blockStartLine(kind, answer.raw);
    CommandList::Batch batch(m_box.list());
    if (replace) {
        m_box.ReplaceCommandLine(start.displayText, start.commandLine);
    } else {
        const lmx::CommandEntry end = lmx::blockEndLine(kind);
        m_box.InsertCommandLine(end.displayText, end.commandLine);
        m_box.InsertCommandLine(start.displayText, start.commandLine);
    }
    return true;
}

bool BlockEditor::insertBlock(lmx::BlockKind kind)
{
    return blockRoutine(kind, AskMode::InsertHex2);
}

bool BlockEditor::renumberBlock(lmx::BlockKind kind)
{
    return blockRoutine(kind, AskMode::EditHex2);
}

void BlockEditor::SelectBlock()
{
    CommandList& list = m_box.list();
    const int cursor = list.cursor();
    if (cursor < 0)
        return;
    CommandList::Batch batch(list);
    BlockState& s = m_box.blockState();
    s.DisplayBlockSelected = s.MessageBlockSelected = s.PageBlockSelected = false;
    s.LineBlockSelected = s.BlockSelected = s.LinesSelected = false;
    list.deselectAll();
    list.setSelected(cursor, true);

    const std::string text = list.line(cursor).displayText;
    const int lastRow = list.count() - 1;
    bool unmatched = false;
    for (lmx::BlockKind kind : lmx::kBlockKinds) {
        const lmx::BlockInfo& info = lmx::blockInfo(kind);
        if (contains(text, info.startTag)) {
            int row = cursor + 1;
            while (row <= lastRow && !contains(list.line(row).displayText, info.endTag))
                ++row;
            const bool found = row <= lastRow;
            list.selectRange(cursor, found ? row : lastRow);
            if (found)
                s.*selectedFlag(kind) = true;
            unmatched |= !found;
        }
        if (contains(text, info.endTag)) {
            int row = cursor - 1;
            while (row >= 0 && !contains(list.line(row).displayText, info.startTag))
                --row;
            const bool found = row >= 0;
            list.selectRange(found ? row : 0, cursor);
            if (found)
                s.*selectedFlag(kind) = true;
            unmatched |= !found;
        }
    }

    if (s.DisplayBlockSelected || s.MessageBlockSelected || s.PageBlockSelected
        || s.LineBlockSelected) {
        s.OnBlockCommand = false;
        s.BlockSelected = true;
    } else if (!s.OnBlockCommand && !s.BlockSelected) {
        int row = cursor + 1;
        while (row <= lastRow && !CommandBox::IsBlockCommand(list.line(row).displayText))
            ++row;
        list.selectRange(cursor, row - 1);
        s.LinesSelected = true;
    }
    // A marker without its partner: the selection shows how far the scan went; the beep says
    // that no block was found.
    if (unmatched)
        m_dialogs.beep();
}

void BlockEditor::DeleteLines(DeleteForm form)
{
    CommandList& list = m_box.list();
    if (list.empty())
        return;
    CommandList::Batch batch(list);
    m_box.beginUndoStep();
    auto [first, last] = list.selectedRange();
    int cursor = first;
    const int countBefore = list.count();
    bool lowered = false;

    // The end line is never removed, whatever the selection holds.
    auto removeRange = [&](int from, int to) {
        const int lastRow = list.count() - 1;
        if (to >= lastRow && list.line(lastRow).commandLine() == lmx::kEndMarker)
            to = lastRow - 1;
        list.remove(from, to);
    };

    switch (form) {
    case DeleteForm::WholeBlock:
        m_box.copySelectionToClipboard();
        removeRange(first, last);
        break;
    case DeleteForm::MarkersOnly:
        m_box.clipboard().clear();
        if (first < last && last - 1 != first) {
            list.shiftIndents(first, last, -8, false);
            lowered = true;
            removeRange(last, last);
            removeRange(first, first);
        }
        break;
    case DeleteForm::SelectedLines:
        if (first >= list.count()) {
            cursor = list.cursor();
            removeRange(cursor, cursor);
        } else {
            m_box.copySelectionToClipboard();
            removeRange(first, last);
        }
        break;
    }

    list.deselectAll();
    list.setCursor(cursor);
    list.setSelected(list.cursor(), true);
    if (lowered || list.count() != countBefore)
        m_box.SetChanged(true);
}

bool BlockEditor::selectionIsWholeBlock() const
{
    const CommandList& list = m_box.list();
    const auto [first, last] = list.selectedRange();
    if (first >= last || list.selectedCount() != last - first + 1)
        return false;
    const BlockState& s = m_box.blockState();
    for (lmx::BlockKind kind : lmx::kBlockKinds) {
        const lmx::BlockInfo& info = lmx::blockInfo(kind);
        if (s.*selectedFlag(kind) && contains(list.line(first).displayText, info.startTag)
            && contains(list.line(last).displayText, info.endTag))
            return true;
    }
    return false;
}

void BlockEditor::deleteSelection()
{
    CommandList::Batch batch(m_box.list());
    if (m_box.blockState().BlockSelected && !selectionIsWholeBlock()) {
        // The lines selected are no longer the block that was selected (a line was edited,
        // inserted or clicked since): deleting its markers would take other lines.
        m_dialogs.beep();
    } else if (m_box.blockState().BlockSelected) {
        switch (m_dialogs.askYesNoCancel(QStringLiteral("Delete whole Block ??"), QString(),
                                         UserDialogs::Icon::Question)) {
        case UserDialogs::Answer::Yes:
            DeleteLines(DeleteForm::WholeBlock);
            break;
        case UserDialogs::Answer::No:
            DeleteLines(DeleteForm::MarkersOnly);
            break;
        default:
            break;
        }
    } else {
        DeleteLines(DeleteForm::SelectedLines);
    }
    // No block stays selected, whatever the answer, so neither does its highlight: the
    // cursor line alone is what the next Cut or Paste acts on.
    CommandList& list = m_box.list();
    list.deselectAll();
    if (list.cursor() >= 0)
        list.setSelected(list.cursor(), true);
    m_box.UpdateSelectionFlags();
}

void BlockEditor::DeleteSingle()
{
    CommandList::Batch batch(m_box.list());
    DeleteLines(DeleteForm::SelectedLines);
    m_box.UpdateSelectionFlags();
}

bool BlockEditor::ClearWindow()
{
    if (m_dialogs.askYesNoCancel(QStringLiteral("Are you sure you want to clear the window ??"),
                                 QStringLiteral("Delete Message"), UserDialogs::Icon::Question)
        != UserDialogs::Answer::Yes)
        return false;
    CommandList::Batch batch(m_box.list());
    m_box.ClearCommandBox();
    m_box.clipboard().clear();
    m_box.addEndLine();
    m_box.list().setCursor(0);
    m_box.selectCursorLine();
    m_box.UpdateSelectionFlags();
    return true;
}

#include "command_box.h"

#include "protocol/vocabulary.h"

#include <algorithm>

namespace {

bool contains(std::string_view text, std::string_view tag)
{
    return text.find(tag) != std::string_view::npos;
}

} // namespace

CommandBox::CommandBox()
{
    m_list.setRecorder(&m_history);
    ResetFlags();
    addEndLine();
}

void CommandBox::undo()
{
    CommandList::Batch batch(m_list);
    const int cursor = m_list.cursor();
    m_history.undo(m_list);
    m_list.setCursor(cursor);
    selectCursorLine();
}

void CommandBox::redo()
{
    CommandList::Batch batch(m_list);
    const int cursor = m_list.cursor();
    m_history.redo(m_list);
    m_list.setCursor(cursor);
    selectCursorLine();
}

void CommandBox::selectCursorLine()
{
    CommandList::Batch batch(m_list);
    m_list.deselectAll();
    if (m_list.cursor() >= 0)
        m_list.setSelected(m_list.cursor(), true);
}

void CommandBox::copySelectionToClipboard()
{
    const auto [first, last] = m_list.selectedRange();
    m_clipboard = m_list.copyLines(first, last);
    m_clipboardState = m_blockState;
}

void CommandBox::setLineFont(int pointSize, unsigned style)
{
    m_fontSize = pointSize;
    m_fontStyle = style;
}

CommandBoxLine CommandBox::makeLine(std::string displayText, std::string commandLine,
                                    int indent) const
{
    CommandBoxLine line;
    line.item.fontColour = lmx::fontColourOf(displayText);
    line.item.backgroundColour = lmx::kBackgroundColour;
    line.item.fontName = kFontName;
    line.item.fontSize = m_fontSize;
    line.item.fontStyle = m_fontStyle;
    line.item.indent = indent;
    line.item.data = std::move(commandLine);
    line.displayText = std::move(displayText);
    return line;
}

void CommandBox::InsertCommandLine(std::string displayText, std::string commandLine)
{
    lmx::applyLineSizeLimit(displayText, commandLine);
    CommandList::Batch batch(m_list);
    beginUndoStep();
    const int indent = IndentForInsert();
    const int row = std::max(m_list.cursor(), 0);
    m_list.insert(row, makeLine(std::move(displayText), std::move(commandLine), indent));
    m_list.setCursor(row);
    selectCursorLine();
    UpdateSelectionFlags();
    SetChanged(true);
}

void CommandBox::ReplaceCommandLine(std::string displayText, std::string commandLine)
{
    if (m_list.cursor() < 0)
        return;
    CommandList::Batch batch(m_list);
    lmx::applyLineSizeLimit(displayText, commandLine);
    beginUndoStep();
    m_list.setEntry(m_list.cursor(), std::move(displayText), std::move(commandLine));
    SetChanged(true);
}

void CommandBox::addLine(std::string displayText, std::string commandLine, int indent)
{
    lmx::applyLineSizeLimit(displayText, commandLine);
    m_list.append(makeLine(std::move(displayText), std::move(commandLine), indent));
}

void CommandBox::addEndLine()
{
    const lmx::CommandEntry end = lmx::endLine();
    addLine(end.displayText, end.commandLine, 2);
}

bool CommandBox::IsInBlock(std::string_view startTag, std::string_view endTag) const
{
    const int cursor = m_list.cursor();
    if (cursor < 0)
        return false;
    bool up = false;
    for (int i = cursor - 1; i >= 0; --i) {
        const std::string& text = m_list.line(i).displayText;
        if (contains(text, endTag))
            break;
        if (contains(text, startTag)) {
            up = true;
            break;
        }
    }
    if (!up)
        return false;
    for (int i = cursor; i < m_list.count(); ++i) {
        const std::string& text = m_list.line(i).displayText;
        if (contains(text, startTag))
            return false;
        if (contains(text, endTag))
            return true;
    }
    return false;
}

void CommandBox::UpdateBlockState()
{
    m_blockState.InLineBlock = IsInBlock("SOL", "EOL");
    m_blockState.InPageBlock = IsInBlock("SOP", "EOP");
    m_blockState.InMessageBlock = IsInBlock("STX", "ETX");
    m_blockState.InDisplayBlock = IsInBlock("SOT", "EOT");
}

int CommandBox::IndentForInsert()
{
    UpdateBlockState();
    const BlockState& s = m_blockState;
    return 2 + 8 * (int(s.InDisplayBlock) + int(s.InMessageBlock) + int(s.InPageBlock)
                    + int(s.InLineBlock));
}

bool CommandBox::IsBlockCommand(std::string_view displayText)
{
    return contains(displayText, lmx::kEndMarker)
        || std::any_of(std::begin(lmx::kBlockKinds), std::end(lmx::kBlockKinds),
                       [&](lmx::BlockKind kind) {
                           const lmx::BlockInfo& block = lmx::blockInfo(kind);
                           return contains(displayText, block.startTag)
                               || contains(displayText, block.endTag);
                       });
}

void CommandBox::UpdateSelectionFlags()
{
    UpdateBlockState();
    BlockState& s = m_blockState;
    s.OnBlockCommand = IsBlockCommand(cursorLine().displayText);
    s.DisplayBlockSelected = s.MessageBlockSelected = s.PageBlockSelected = false;
    s.LineBlockSelected = s.BlockSelected = s.LinesSelected = false;
}

void CommandBox::ResetFlags()
{
    m_blockState = BlockState{};
    m_blockState.OnBlockCommand = true;
    m_clipboardState = ClipboardState{};
    m_clipboardState.OnBlockCommand = false;
}

void CommandBox::ClearCommandBox()
{
    CommandList::Batch batch(m_list);
    beginUndoStep();
    ResetFlags();
    m_list.clear();
    SetChanged(true);
}

void CommandBox::newFile()
{
    CommandList::Batch batch(m_list);
    ResetFlags();
    m_list.clear();
    m_history.clear();
    m_clipboard.clear();
    addEndLine();
    m_list.setCursor(0);
    m_fileName = kNewFileName;
    m_changed = false;
    titleChanged();
}

void CommandBox::SetChanged(bool changed)
{
    if (changed == m_changed)
        return;
    m_changed = changed;
    titleChanged();
}

void CommandBox::setFileName(std::string fileName)
{
    m_fileName = std::move(fileName);
    titleChanged();
}

std::string CommandBox::title() const
{
    std::string t = m_fileName + "  " + kApplicationTitle;
    if (m_changed)
        t += " *";
    return t;
}

void CommandBox::titleChanged()
{
    if (m_titleHandler)
        m_titleHandler(title());
}

const CommandBoxLine& CommandBox::cursorLine() const
{
    static const CommandBoxLine none;
    const int c = m_list.cursor();
    return c >= 0 && c < m_list.count() ? m_list.line(c) : none;
}

#include "data_editor.h"

#include "block_editor.h"
#include "commandbox/command_box.h"
#include "dialogs/ask_data_rules.h"
#include "dialogs/parameter_dialogs.h"
#include "edit_rules.h"

DataEditor::DataEditor(CommandBox& box, BlockEditor& blocks, ParameterDialogs& parameters)
    : m_box(box), m_blocks(blocks), m_parameters(parameters)
{
}

bool DataEditor::canEditData() const
{
    return m_box.list().cursor() >= 0 && editrules::canEditData(m_box.cursorLine().commandLine());
}

bool DataEditor::EditData()
{
    if (!canEditData())
        return false;
    CommandList& list = m_box.list();
    const int row = list.cursor();
    // A copy: the routines replace the line they read.
    const CommandBoxLine line = m_box.cursorLine();

    bool replaced = false;
    const EditorKind kind = editorKindOf(line.commandLine());
    switch (kind) {
    case EditorKind::None:
        break;
    case EditorKind::BlockNumber: {
        lmx::BlockKind block{};
        if (blockKindOfStart(line.commandLine(), block))
            replaced = m_blocks.renumberBlock(block);
        break;
    }
    case EditorKind::Text:
        replaced = editText();
        break;
    case EditorKind::ByteCommand:
        replaced = editByteCommand();
        break;
    default:
        if (m_hook)
            replaced = m_hook->editCommand(kind, line);
        break;
    }

    CommandList::Batch batch(list);
    list.deselectAll();
    list.setCursor(row);
    list.setSelected(list.cursor(), true);
    return replaced;
}

bool DataEditor::editText()
{
    AskValueRequest request;
    request.askMode = AskMode::EditText;
    request.caption = kTextCaption;
    request.currentText = prefillText(AskMode::EditText, m_box.cursorLine().displayText);
    const AskResult answer = m_parameters.AskValue(request);
    if (!answer.confirmed)
        return false;
    m_box.ReplaceCommandLine(answer.quoted, answer.raw);
    return true;
}

bool DataEditor::editByteCommand()
{
    const CommandBoxLine& line = m_box.cursorLine();
    AskValueRequest request;
    request.askMode = AskMode::ByteCommand;
    request.caption = kByteCommandCaption;
    request.currentText = prefillText(AskMode::ByteCommand, line.displayText);
    request.eoc = marksEoc(line.displayText);
    const AskResult answer = m_parameters.AskValue(request);
    if (!answer.confirmed)
        return false;
    const lmx::CommandEntry edited =
            byteCommandEdit(line.displayText, line.commandLine(), answer.raw);
    m_box.ReplaceCommandLine(edited.displayText, edited.commandLine);
    return true;
}

#pragma once
// A command box with its editing classes and scripted dialogs, and the user's steps on it
// (a click, a Shift+double-click, inserting a block), for tests without a window; and the texts
// a command list or the answer box shows.

#include "commandbox/command_box.h"
#include "editor/answer_box_editor.h"
#include "editor/block_editor.h"
#include "editor/command_clipboard.h"
#include "editor/data_editor.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_parameter_dialogs.h"

#include <string>
#include <vector>

// The display texts of a list's lines, top to bottom.
inline std::vector<std::string> textsOf(const CommandList& list)
{
    std::vector<std::string> out;
    for (const CommandBoxLine& l : list.lines())
        out.push_back(l.displayText);
    return out;
}

// The shown texts of the answer box's lines, filled values included.
inline std::vector<std::string> shownTexts(const AnswerBoxEditor& answers)
{
    std::vector<std::string> out;
    for (const AnswerBoxEditor::Line& l : answers.templates().lines())
        out.push_back(l.shownText);
    return out;
}

struct EditorRig {
    ScriptedDialogs user;
    ScriptedParameterDialogs params;
    CommandBox box;
    BlockEditor blocks{box, params, user};
    DataEditor data{box, blocks, params};
    CommandClipboard clip{box, blocks};

    CommandList& list() { return box.list(); }
    const BlockState& state() const { return box.blockState(); }

    // A click on a line: it becomes the cursor line and the only selected one.
    void click(int row)
    {
        list().deselectAll();
        list().setCursor(row);
        list().setSelected(row, true);
        box.UpdateSelectionFlags();
    }
    void shiftDoubleClick(int row)
    {
        click(row);
        blocks.SelectBlock();
    }
    // The Insert action of a kind with the number typed into its dialog.
    bool insertBlock(lmx::BlockKind kind, const std::string& digits = "01")
    {
        params.setNextReply(ScriptedParameterDialogs::type({digits}));
        return blocks.insertBlock(kind);
    }
    void insertText(const std::string& text)
    {
        box.InsertCommandLine("'" + text + "'", text);
    }
    // Display > message > page > line, each inserted at the end marker of the one around it:
    // SOT STX SOP SOL EOL EOP ETX EOT <End>, the cursor on the line block's start.
    void nestAllFour()
    {
        click(list().count() - 1);
        insertBlock(lmx::BlockKind::Display);
        click(row("EOT"));
        insertBlock(lmx::BlockKind::Message);
        click(row("ETX"));
        insertBlock(lmx::BlockKind::Page);
        click(row("EOP"));
        insertBlock(lmx::BlockKind::Line);
    }

    int row(const std::string& text) const
    {
        for (int i = 0; i < box.list().count(); ++i)
            if (box.list().line(i).displayText == text)
                return i;
        return -1;
    }
    std::vector<std::string> texts() const { return textsOf(box.list()); }
    std::vector<int> indents() const
    {
        std::vector<int> out;
        for (const CommandBoxLine& l : box.list().lines())
            out.push_back(l.item.indent);
        return out;
    }
    std::vector<int> selectedRows() const
    {
        std::vector<int> out;
        for (int i = 0; i < box.list().count(); ++i)
            if (box.list().isSelected(i))
                out.push_back(i);
        return out;
    }
};

using Texts = std::vector<std::string>;
using Indents = std::vector<int>;
using Rows = std::vector<int>;

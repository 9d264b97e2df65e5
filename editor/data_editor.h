#pragma once
// Edit Data (the action, and a double click without Shift): opens the editor that fits the
// cursor line's command line and replaces the line on Ok. Block start lines are renumbered,
// plain text is edited as text, escape commands without a dialog of their own go through the
// "Byte Command" editor; the commands with dialogs of their own are handed to the command
// edit hook, which the command buttons frame implements.

#include "edit_dispatch.h"

class BlockEditor;
class CommandBox;
class ParameterDialogs;
struct CommandBoxLine;

class CommandEditHook {
public:
    virtual ~CommandEditHook() = default;
    // Runs the command routine for `kind` in its replace form on the command box's cursor
    // line (`line`), replacing it through ReplaceCommandLine on Ok. True when replaced.
    virtual bool editCommand(EditorKind kind, const CommandBoxLine& line) = 0;
};

class DataEditor {
public:
    static constexpr const char* kTextCaption = "CommandBox: Type Your Text.";
    static constexpr const char* kByteCommandCaption = "Byte Command";

    DataEditor(CommandBox& box, BlockEditor& blocks, ParameterDialogs& parameters);

    void setCommandEditHook(CommandEditHook* hook) { m_hook = hook; }

    // The cursor line is editable.
    bool canEditData() const;
    // Opens the cursor line's editor; afterwards the line is selected again. True when the
    // line was replaced.
    bool EditData();

private:
    bool editText();
    bool editByteCommand();

    CommandBox& m_box;
    BlockEditor& m_blocks;
    ParameterDialogs& m_parameters;
    CommandEditHook* m_hook = nullptr;
};

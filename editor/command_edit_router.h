#pragma once
// Edit Data for the commands with dialogs of their own: picks the command routine by the
// line's first bytes and runs it in its replace form.

#include "data_editor.h"

class CommandRoutines;

class CommandEditRouter : public CommandEditHook {
public:
    explicit CommandEditRouter(CommandRoutines& routines) : m_routines(routines) {}

    bool editCommand(EditorKind kind, const CommandBoxLine& line) override;

private:
    CommandRoutines& m_routines;
};

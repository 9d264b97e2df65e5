#pragma once
// Shared by the command button and key tests: a command box with the command routines and
// scripted dialogs, a key definition asker that answers from a queue through the dialog's
// own rules, and the hex form of a command line.

#include "commandbox/command_box.h"
#include "editor/command_routines.h"
#include "keys/key_def_rules.h"
#include "keys/programmable_keys.h"
#include "protocol/hex.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_parameter_dialogs.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>

inline std::string hexOf(const std::string& commandLine)
{
    return lmx::normalisedHexText(commandLine);
}

// Answers each definition with (list index, typed parameter); cancels when nothing is queued.
class ScriptedKeyAsker : public KeyDefinitionAsker {
public:
    void setNext(int index, std::string param) { m_next.emplace_back(index, std::move(param)); }

    bool defineKey(lmx::TKeyDefinition& key) override
    {
        if (m_next.empty())
            return false;
        const auto [index, param] = m_next.front();
        m_next.pop_front();
        KeyDefRules rules;
        rules.open(key);
        rules.chooseCommand(index);
        rules.setParamText(param);
        return rules.fill(key, KeyDefRules::entryText(index));
    }

private:
    std::deque<std::pair<int, std::string>> m_next;
};

inline int entryOf(int code) // the list index of a key code ($80 is 1)
{
    return code - 0x7F;
}

struct RoutineRig {
    ScriptedDialogs user;
    ScriptedParameterDialogs params;
    CommandBox box;
    ParamDefaultsTable defaults;
    CommandRoutines routines{box, params, user, defaults};

    RoutineRig()
    {
        defaults.fill();
        box.list().setCursor(0); // on the end line
    }
    const CommandBoxLine& line() const { return box.cursorLine(); }
    int count() const { return box.list().count(); }
    // Puts a line before the end line and the cursor on it.
    void select(const lmx::CommandEntry& e)
    {
        box.list().setCursor(box.list().count() - 1);
        box.InsertCommandLine(e.displayText, e.commandLine);
    }
};

// Edit Data on any line a hand-edited command file could hold, with every dialog confirmed
// as it opened: the list keeps its size and end line, and a line a command routine rewrote
// carries only the digits its dialog accepts. The key definition rules take any pasted text
// without letting an apostrophe or a control character into the key's line.
#include "fuzz_support.h"

#include "commandbox/command_box.h"
#include "editor/block_editor.h"
#include "editor/command_edit_router.h"
#include "editor/command_routines.h"
#include "editor/data_editor.h"
#include "editor/edit_dispatch.h"
#include "keys/key_def_rules.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_parameter_dialogs.h"

#include <string>

namespace {

using fuzz::check;

bool digitsOnly(const std::string& s)
{
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    return true;
}

void editLine(const std::string& display, const std::string& command)
{
    ScriptedDialogs user;
    ScriptedParameterDialogs params;
    CommandBox box;
    ParamDefaultsTable defaults;
    defaults.fill();
    CommandRoutines routines(box, params, user, defaults);
    CommandEditRouter router(routines);
    BlockEditor blocks(box, params, user);
    DataEditor editor(box, blocks, params);
    editor.setCommandEditHook(&router);

    box.list().setCursor(0);
    box.InsertCommandLine(display, command);
    const EditorKind kind = editorKindOf(command);
    params.setNextReply(ScriptedParameterDialogs::ok());
    const bool replaced = editor.EditData();

    check(box.list().count() == 2);
    check(box.list().line(1).commandLine() == "<End>");
    if (!replaced)
        return;
    const std::string& after = box.list().line(0).commandLine();
    switch (kind) {
    case EditorKind::OneHexDigit:
    case EditorKind::TwoHexDigits:
        check(after.size() == (kind == EditorKind::OneHexDigit ? 3u : 4u) && digitsOnly(after.substr(2)));
        break;
    case EditorKind::ThreeHexDigits:
    case EditorKind::Brightness:
    case EditorKind::ValueDialog:
    case EditorKind::EocFields:
        check(after.size() >= 4 && after.back() == '\x0C'
              && digitsOnly(after.substr(2, after.size() - 3)));
        check(lmx::isValidEocSize(static_cast<uint8_t>(after[1]), after.size() - 3));
        break;
    case EditorKind::Wait:
        check(after.size() == 6 && digitsOnly(after.substr(1)));
        break;
    default:
        break;
    }
}

void defineKey(const uint8_t* data, size_t size)
{
    lmx::TKeyDefinition key("Key 1");
    KeyDefRules rules;
    rules.open(key);
    rules.chooseCommand(data[0] % KeyDefRules::kEntries);
    rules.setParamText(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    if (!rules.fill(key, KeyDefRules::entryText(rules.commandIndex())))
        return;
    for (char c : key.ParamData)
        check(c != '\'' && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    check(key.CommandHexData.size() >= 3 && key.CommandHexData[0] == '\x09');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    if (data[0] & 1) {
        defineKey(data + 1, size - 1);
        return 0;
    }
    // The first byte after the selector splits the rest into display text and command line.
    const std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const size_t split = data[1] % (rest.size() + 1);
    editLine(rest.substr(0, split), rest.substr(split));
    return 0;
}

// Random editing on the command box: every sequence of clicks, block and text insertions,
// block selections, deletions, clipboard operations, undo and drops keeps the list sound.
// Operations run only when their action would be enabled, as the user could run them.
#include "fuzz_support.h"

#include "commandbox/command_box.h"
#include "editor/block_editor.h"
#include "editor/command_clipboard.h"
#include "editor/data_editor.h"
#include "editor/edit_rules.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_parameter_dialogs.h"

#include <string>

namespace {

using fuzz::check;

void checkSound(const CommandBox& box)
{
    const CommandList& l = box.list();
    check(l.count() >= 1);
    check(l.line(l.count() - 1).commandLine() == "<End>");
    check(l.cursor() >= 0 && l.cursor() < l.count());
    for (const CommandBoxLine& line : l.lines())
        check(line.item.indent >= 0 && line.displayText.size() <= 1333);
    const auto [first, last] = l.selectedRange();
    check(first == l.count() ? last == 0 : first <= last && last < l.count());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptedDialogs user;
    ScriptedParameterDialogs params;
    CommandBox box;
    BlockEditor blocks(box, params, user);
    DataEditor editor(box, blocks, params);
    CommandClipboard clip(box, blocks);
    CommandList& list = box.list();

    for (size_t i = 0; i + 1 < size; i += 2) {
        const uint8_t op = data[i] % 12;
        const int arg = data[i + 1];
        const int row = arg % list.count();
        const BlockState& s = box.blockState();
        const lmx::BlockKind kind = static_cast<lmx::BlockKind>(arg % 4);
        switch (op) {
        case 0: // a click
            list.deselectAll();
            list.setCursor(row);
            list.setSelected(row, true);
            box.UpdateSelectionFlags();
            break;
        case 1:
            list.setCursor(row);
            box.UpdateSelectionFlags();
            blocks.SelectBlock();
            break;
        case 2:
            if (editrules::canInsertBlock(kind, s)) {
                params.setNextReply(ScriptedParameterDialogs::type({"0" + std::to_string(arg % 10)}));
                blocks.insertBlock(kind);
            }
            break;
        case 3:
            box.InsertCommandLine("'t" + std::to_string(arg) + "'", "t");
            break;
        case 4:
            if (editrules::canOpenDeleteBlock(s)) {
                user.setNextAnswer(arg & 1 ? UserDialogs::Answer::Yes : UserDialogs::Answer::No);
                blocks.deleteSelection();
            }
            break;
        case 5:
            if (editrules::canDeleteSingle(box.cursorLine().displayText))
                blocks.DeleteSingle();
            break;
        case 6:
            if (clip.canCutOrCopy())
                clip.Copy();
            break;
        case 7:
            if (clip.canCutOrCopy()) {
                user.setNextAnswer(arg & 1 ? UserDialogs::Answer::Yes : UserDialogs::Answer::No);
                clip.Cut();
            }
            break;
        case 8:
            if (clip.canPaste())
                clip.Paste();
            break;
        case 9:
            if (clip.canUndo())
                clip.Undo();
            break;
        case 10:
            if (clip.dropAllowedAt(row))
                clip.Drop(row);
            break;
        case 11:
            if (editor.canEditData()) {
                params.setNextReply(ScriptedParameterDialogs::type({std::to_string(arg % 10) + "A"}));
                editor.EditData();
            }
            break;
        }
        checkSound(box);
    }
    return 0;
}

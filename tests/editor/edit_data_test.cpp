#include "command_box_support.h"

#include "dialogs/ask_data_rules.h"
#include "editor/edit_dispatch.h"
#include "editor/edit_rules.h"
#include "protocol/hex.h"

#include <gtest/gtest.h>

namespace {

std::string esc(uint8_t command, const std::string& param = {})
{
    return std::string("\x1B") + static_cast<char>(command) + param;
}

std::string key(uint8_t command, const std::string& param = {})
{
    return "\x09" + esc(command, param);
}

const std::string eoc = "\x0C";

class RecordingHook : public CommandEditHook {
public:
    std::vector<EditorKind> kinds;
    bool editCommand(EditorKind kind, const CommandBoxLine&) override
    {
        kinds.push_back(kind);
        return false;
    }
};

} // namespace

TEST(EditDispatch, EachKindOfLineOpensItsEditor)
{
    struct Case {
        std::string line;
        EditorKind kind;
    };
    const Case cases[] = {
        {"\x01" "01", EditorKind::BlockNumber}, {"\x02" "01", EditorKind::BlockNumber},
        {"\x0E" "01", EditorKind::BlockNumber}, {"\x0A" "01", EditorKind::BlockNumber},
        {"\x07" "05000", EditorKind::Wait},     {"\x08" "00250", EditorKind::Wait},
        {"\x10" "\x22\x33", EditorKind::HexData},
        {esc(0xA0, "1"), EditorKind::OneHexDigit}, {esc(0xA5, "0"), EditorKind::OneHexDigit},
        {esc(0xA7, "1"), EditorKind::OneHexDigit},
        {esc(0xC0, "00"), EditorKind::TwoHexDigits}, {esc(0xC4, "80"), EditorKind::TwoHexDigits},
        {esc(0xC7, "01"), EditorKind::TwoHexDigits},
        {esc(0xE2, "FFF" + eoc), EditorKind::ThreeHexDigits},
        {esc(0xE0, "3456789ABCDEFFFF" + eoc), EditorKind::Brightness},
        {esc(0xE1, "000001" + eoc), EditorKind::ValueDialog},
        {esc(0xE5, "0000" + eoc), EditorKind::ValueDialog},
        {esc(0xE4, std::string(34, '0') + eoc), EditorKind::EocFields},
        {esc(0xE6, "000101000000" + eoc), EditorKind::EocFields},
        {esc(0xA8, "1"), EditorKind::ByteCommand},  {esc(0xC2, "12"), EditorKind::ByteCommand},
        {esc(0xE3, "12" + eoc), EditorKind::ByteCommand}, {esc(0xFF, "1" + eoc), EditorKind::ByteCommand},
        {esc(0x9F), EditorKind::None},              {esc(0x41), EditorKind::None},
        {"\x1B", EditorKind::None},
        {key(0xA0, "1"), EditorKind::ByteCommand},  {key(0xE6, "1" + eoc), EditorKind::ByteCommand},
        {key(0x85), EditorKind::None},              {"\x09", EditorKind::None},
        {"Hello", EditorKind::Text},                {"", EditorKind::Text},
    };
    for (const Case& c : cases)
        EXPECT_EQ(editorKindOf(c.line), c.kind) << lmx::normalisedHexText(c.line);
}

TEST(EditDispatch, EndLinesMarkersInquiriesAndParameterlessCommandsAreNotEditable)
{
    for (const std::string& line :
         {std::string("<End>"), std::string("\x03"), std::string("\x04"), std::string("\x0D"),
          std::string("\x0F"), std::string("\x1E"), esc(0x80), esc(0x9F), esc(0xA6, "1"),
          std::string("\x1B"), key(0x41, "1"), key(0x79), key(0x80), key(0x9F)})
        EXPECT_FALSE(editrules::canEditData(line)) << lmx::normalisedHexText(line);
    for (const std::string& line :
         {std::string("\x01" "01"), std::string("\x07" "05000"), esc(0xA0, "1"),
          esc(0x41), key(0x7A), key(0xA0, "1"), std::string("text"), std::string()})
        EXPECT_TRUE(editrules::canEditData(line)) << lmx::normalisedHexText(line);
}

// A fixed-size command: its last characters are new, a key prefix stays in front; a hand-edited
// line with fewer parameter bytes than its display text shows keeps its escape and command byte.
// (An EOC command, of any length, is rewritten whole: the EditData case below.)
TEST(EditDispatch, ByteCommandEditRewritesTheQuotedTextAndTheParameter)
{
    const std::tuple<std::string, std::string, std::string, std::string, std::string> cases[] = {
        {"ESC F1 'AB'", key(0xC2, "AB"), "CD", "ESC F1 'CD'", key(0xC2, "CD")},
        {"ESC $A8 '1' x", esc(0xA8, "1"), "7", "ESC $A8 '7' x", esc(0xA8, "7")},
        {"ESC $C2 '12'", esc(0xC2, "1"), "34", "ESC $C2 '34'", esc(0xC2, "34")},
        {"ESC $A8", esc(0xA8), "5", "ESC $A8 '5'", esc(0xA8, "5")},
    };
    for (const auto& [shown, line, typed, shownAfter, lineAfter] : cases) {
        const lmx::CommandEntry e = byteCommandEdit(shown, line, typed);
        EXPECT_EQ(e.displayText, shownAfter);
        EXPECT_EQ(e.commandLine, lineAfter) << shown;
    }
}

// Text lines are edited as text, byte commands by their own rule, commands with dialogs of their
// own go to the hook; every edit reselects its line.
TEST(EditData, EachKindOfLineIsEditedByItsDialogItsHookOrNotAtAll)
{
    EditorRig r;
    r.insertText("Hello");
    r.list().deselectAll();
    r.params.setNextReply(ScriptedParameterDialogs::type({"World"}));
    ASSERT_TRUE(r.data.EditData());
    const AskValueRequest& q = r.params.askValueCalls().back();
    EXPECT_TRUE(q.askMode == AskMode::EditText && q.currentText == "Hello");
    EXPECT_EQ(r.texts(), Texts({"'World'", "<End>"}));
    EXPECT_EQ(r.list().line(0).commandLine(), "World");
    EXPECT_EQ(r.selectedRows(), Rows({0}));
    EXPECT_EQ(r.list().cursor(), 0);

    // Cancel keeps the line, and the last change is what Undo takes back.
    r.params.setNextReply(ScriptedParameterDialogs::cancel());
    EXPECT_FALSE(r.data.EditData());
    EXPECT_EQ(r.texts(), Texts({"'World'", "<End>"}));
    r.clip.Undo();
    EXPECT_EQ(r.texts(), Texts({"'Hello'", "<End>"}));
    r.clip.Redo();
    EXPECT_EQ(r.texts(), Texts({"'World'", "<End>"}));

    // A byte command.
    r.box.InsertCommandLine("ESC $E3 '12' EOC", esc(0xE3, "12" + eoc));
    const TLBItem before = r.list().line(0).item;
    r.params.setNextReply(ScriptedParameterDialogs::type({"1234"}));
    ASSERT_TRUE(r.data.EditData());
    const AskValueRequest& b = r.params.askValueCalls().back();
    EXPECT_TRUE(b.askMode == AskMode::ByteCommand && b.currentText == "12" && b.eoc);
    EXPECT_EQ(r.list().line(0).displayText, "ESC $E3 '1234' EOC");
    EXPECT_EQ(r.list().line(0).commandLine(), esc(0xE3, "1234" + eoc));
    EXPECT_EQ(r.list().line(0).item.fontColour, before.fontColour);

    // Without EOC the present length is the only one the dialog takes.
    r.box.ReplaceCommandLine("ESC $C2 '12'", esc(0xC2, "12"));
    r.params.setNextReply(ScriptedParameterDialogs::type({"1"}));
    EXPECT_FALSE(r.data.EditData());
    EXPECT_FALSE(r.params.askValueCalls().back().eoc);
    EXPECT_EQ(r.params.refused(), 1);
    EXPECT_EQ(r.list().line(0).commandLine(), esc(0xC2, "12"));

    // Commands with dialogs of their own go to the hook; lines that are not editable nowhere.
    const size_t dialogs = r.params.calls().size();
    r.box.InsertCommandLine("ESC Font '1'", esc(0xA0, "1"));
    EXPECT_FALSE(r.data.EditData()); // no hook: nothing opens
    RecordingHook hook;
    r.data.setCommandEditHook(&hook);
    r.data.EditData();
    r.box.InsertCommandLine("FPACK '05000'", "\x07" "05000");
    r.data.EditData();
    r.box.InsertCommandLine("ESC Inquiry1", esc(0xA6, "1"));
    EXPECT_FALSE(r.data.canEditData());
    EXPECT_FALSE(r.data.EditData());
    r.list().setCursor(r.list().count() - 1);
    EXPECT_FALSE(r.data.canEditData());
    EXPECT_EQ(hook.kinds, std::vector<EditorKind>({EditorKind::OneHexDigit, EditorKind::Wait}));
    EXPECT_EQ(r.params.calls().size(), dialogs);
}

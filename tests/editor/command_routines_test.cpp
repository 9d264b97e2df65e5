#include "commands_support.h"

#include "editor/ask_data_rules.h"
#include "editor/block_editor.h"
#include "editor/command_edit_router.h"
#include "editor/data_editor.h"

#include <gtest/gtest.h>

using SPD = ScriptedParameterDialogs;

namespace {

std::string esc(uint8_t code, const std::string& param = {}, bool eoc = false)
{
    return std::string("\x1B") + static_cast<char>(code) + param + (eoc ? "\x0C" : "");
}

} // namespace

// Each one-parameter command: Ok on its default, the highest value typed, and a value out of
// its range refused (nothing inserted).
TEST(CommandRoutines, OneParameterDefaultsAndRanges)
{
    struct Case {
        uint8_t code;
        const char* defaultLine; // hex of the line inserted with the default
        const char* highest;     // accepted
        const char* refused;     // out of range, or nullptr when every value is in range
    };
    const Case cases[] = {
        {0xA0, "1B A0 31", "9", "A"},    {0xA1, "1B A1 31", "3", "4"},
        {0xA4, "1B A4 31", "1", "2"},    {0xA2, "1B A2 31", "F", "0"},
        {0xA7, "1B A7 31", "F", "0"},    {0xA3, "1B A3 30", "2", "3"},
        {0xA5, "1B A5 30", "7", "8"},    {0xE2, "1B E2 30 30 30 0C", "7FF", nullptr},
        {0xC4, "1B C4 30 30", "7F", nullptr}, {0xC7, "1B C7 30 31", "FF", nullptr},
        {0xC1, "1B C1 30 30", "99", "9A"}, {0xC0, "1B C0 30 30", "99", "9A"},
        {0xC6, "1B C6 30 31", "FF", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(lmx::byteToHex(c.code));
        RoutineRig rig;
        const int digits = CommandRoutines::oneParameterCommand(c.code)->digits;
        const int insertMode = askmode::InsertHex1 + digits - 1;
        rig.params.setNextReply(SPD::ok());
        ASSERT_TRUE(rig.routines.OneParameter(c.code, insertMode));
        EXPECT_EQ(rig.hex(), c.defaultLine);
        EXPECT_EQ(rig.params.askValueCalls().back().askMode, insertMode);

        rig.params.setNextReply(SPD::type({c.highest}));
        ASSERT_TRUE(rig.routines.OneParameter(c.code, insertMode));
        EXPECT_EQ(rig.line().commandLine(), lmx::escapeLine(c.code, c.highest).commandLine);
        if (c.refused) {
            rig.params.setNextReply(SPD::type({c.refused}));
            EXPECT_FALSE(rig.routines.OneParameter(c.code, insertMode));
            EXPECT_EQ(rig.count(), 3);
        }
    }
}

TEST(CommandRoutines, SignedPositionsAndDisplayTexts)
{
    RoutineRig rig;
    rig.params.setNextReply(SPD::ok());
    rig.routines.OneParameter(lmx::esc::Font, askmode::InsertHex1);
    EXPECT_EQ(rig.line().displayText, "ESC Font '1'");

    rig.params.setNextReply(SPD::type({"FFF"})); // -1
    rig.routines.OneParameter(lmx::esc::HorPos, askmode::InsertHex3);
    EXPECT_EQ(rig.hex(), "1B E2 46 46 46 0C");
    EXPECT_EQ(rig.line().displayText, "ESC Hor. Pos. 'FFF' EOC");
    rig.params.setNextReply(SPD::type({"800"})); // -2048
    rig.routines.OneParameter(lmx::esc::HorPos, askmode::InsertHex3);
    EXPECT_EQ(rig.line().commandLine(), esc(0xE2, "800", true));

    rig.params.setNextReply(SPD::type({"80"})); // -128
    rig.routines.OneParameter(lmx::esc::VertPos, askmode::InsertHex2);
    EXPECT_EQ(rig.line().displayText, "ESC Vert. Pos. '80'");
    EXPECT_EQ(rig.params.askValueCalls().back().minimum, -128);
    EXPECT_EQ(rig.params.refused(), 0);
}

TEST(CommandRoutines, InsertDataModesOutsideInsertAndReplaceDoNothing)
{
    RoutineRig rig;
    EXPECT_FALSE(rig.routines.OneParameter(lmx::esc::Font, askmode::ByteCommand));
    EXPECT_FALSE(rig.routines.PlainText(9));
    EXPECT_FALSE(rig.routines.OneParameter(0xA8, askmode::InsertHex1)); // no button of its own
    EXPECT_TRUE(rig.params.calls().empty());
}

TEST(CommandRoutines, LinesWithoutDialog)
{
    RoutineRig rig;
    rig.routines.Inquiry(3);
    EXPECT_EQ(rig.hex(), "1B A6 33");
    EXPECT_EQ(rig.line().displayText, "ESC Inquiry3");
    rig.routines.Separator();
    EXPECT_EQ(rig.line().displayText, "SEP");
    rig.routines.Delete();
    EXPECT_EQ(rig.hex(), "1B 80");
    EXPECT_EQ(rig.line().displayText, "ESC Delete");
    rig.routines.Inquiry(5);
    EXPECT_EQ(rig.count(), 4);
}

TEST(CommandRoutines, PlainTextEmptyAndReplaced)
{
    RoutineRig rig;
    rig.params.setNextReply(SPD::ok());
    ASSERT_TRUE(rig.routines.PlainText(askmode::InsertText));
    EXPECT_EQ(rig.line().commandLine(), "");
    EXPECT_EQ(rig.line().displayText, "''");

    rig.params.setNextReply(SPD::type({"Hello"}));
    ASSERT_TRUE(rig.routines.PlainText(askmode::EditText));
    EXPECT_EQ(rig.line().displayText, "'Hello'");
    EXPECT_EQ(rig.count(), 2);
    EXPECT_EQ(rig.params.askValueCalls().back().caption, "CommandBox: Type Your Text.");
}

TEST(CommandRoutines, MultiValueDefaults)
{
    RoutineRig rig;
    rig.params.setNextReply(SPD::ok());
    rig.routines.TimeDate(RoutineMode::InsertMode);
    EXPECT_EQ(rig.line().commandLine(), esc(0xE6, "000101000000", true));
    EXPECT_EQ(rig.line().displayText, "ESC Time/Date '000101000000' EOC");
    const BoxConfigs& time = rig.params.fieldsCalls().back().second;
    EXPECT_FALSE(time[5].Visible);
    EXPECT_TRUE(time[6].Visible && time[6].DecInput);
    EXPECT_EQ(time[8].BoxCaption, "Date");

    rig.params.setNextReply(SPD::ok());
    rig.routines.ConfDisplay(RoutineMode::InsertMode);
    EXPECT_EQ(rig.line().commandLine(), esc(0xE4, "010808" + std::string(28, '0'), true));
    EXPECT_EQ(rig.params.fieldsCalls().back().second[16].BoxCaption, "Line 16");

    rig.params.setNextReply(SPD::ok());
    rig.routines.WatchDog(RoutineMode::InsertMode);
    EXPECT_EQ(rig.line().commandLine(), esc(0xE1, "000001", true));
    EXPECT_EQ(rig.line().displayText, "ESC WatchDog '000001' EOC");

    rig.params.setNextReply(SPD::ok());
    rig.routines.LedTest(RoutineMode::InsertMode);
    EXPECT_EQ(rig.line().commandLine(), esc(0xE5, "0000", true));

    rig.params.setNextReply(SPD::ok());
    rig.routines.ForcePacket(RoutineMode::InsertMode);
    EXPECT_EQ(rig.hex(), "07 30 35 30 30 30");
    EXPECT_EQ(rig.line().displayText, "FPACK '05000'");
    EXPECT_EQ(rig.params.singleCalls().back().BoxLabel, "Wait [mS]");
    EXPECT_EQ(rig.params.refused(), 0);
}

TEST(CommandRoutines, MultiValueBounds)
{
    RoutineRig rig;
    rig.params.setNextReply(SPD::type({"07", "FF", "64"}));
    EXPECT_TRUE(rig.routines.WatchDog(RoutineMode::InsertMode));
    EXPECT_EQ(rig.line().commandLine(), esc(0xE1, "07FF64", true));
    rig.params.setNextReply(SPD::type({"08", "00", "01"}));
    EXPECT_FALSE(rig.routines.WatchDog(RoutineMode::InsertMode));
    rig.params.setNextReply(SPD::type({"00", "00", "65"}));
    EXPECT_FALSE(rig.routines.WatchDog(RoutineMode::InsertMode));

    rig.params.setNextReply(SPD::type({"24", "59"}));
    EXPECT_TRUE(rig.routines.LedTest(RoutineMode::InsertMode));
    EXPECT_EQ(rig.line().commandLine(), esc(0xE5, "2459", true));
    rig.params.setNextReply(SPD::type({"25", "00"}));
    EXPECT_FALSE(rig.routines.LedTest(RoutineMode::InsertMode));

    rig.params.setNextReply(SPD::type({"7"}));
    EXPECT_TRUE(rig.routines.NewPacket(RoutineMode::InsertMode));
    EXPECT_EQ(rig.line().displayText, "NPACK '00007'");
    rig.params.setNextReply(SPD::type({"10001"}));
    EXPECT_FALSE(rig.routines.ForcePacket(RoutineMode::InsertMode));

    rig.params.setNextReply(SPD::type({"09", "10"}));
    EXPECT_FALSE(rig.routines.ConfDisplay(RoutineMode::InsertMode)); // 9 boards, maximum 8
    EXPECT_EQ(rig.count(), 4);
    EXPECT_EQ(rig.params.refused(), 5);
}

TEST(CommandRoutines, BrightnessQuestionAndTables)
{
    RoutineRig rig;
    rig.user.setNextAnswer(UserDialogs::Answer::No);
    rig.params.setNextReply(SPD::ok());
    ASSERT_TRUE(rig.routines.Brightness(RoutineMode::InsertMode));
    EXPECT_EQ(rig.user.lastText().toStdString(),
              "LMX 2.xx Contains 32 bytes, LMX 3.xx Contains 16 bytes,\r\n\r\nIs LMX 2.xx used ?");
    EXPECT_EQ(rig.params.brightnessCalls().back().Data, "3456789ABCDEFFFF");
    EXPECT_EQ(rig.params.brightnessCalls().back().Header, "BrightNess Table (in percentages)");
    EXPECT_EQ(rig.line().displayText, "ESC BTable '3456789ABCDEFFFF' EOC");

    rig.user.setNextAnswer(UserDialogs::Answer::Yes);
    rig.params.setNextReply(SPD::levels(BrightnessTable::fullLevels()));
    ASSERT_TRUE(rig.routines.Brightness(RoutineMode::InsertMode));
    EXPECT_EQ(rig.params.brightnessCalls().back().Version, TVersion::V200);
    std::string full;
    for (int i = 0; i < 16; ++i)
        full += "0F";
    EXPECT_EQ(rig.line().commandLine(), esc(0xE0, full, true));

    // Neither Yes nor No: no editor, no line.
    rig.user.setNextAnswer(UserDialogs::Answer::Cancel);
    EXPECT_FALSE(rig.routines.Brightness(RoutineMode::InsertMode));
    EXPECT_EQ(rig.params.brightnessCalls().size(), 2u);
}

TEST(CommandRoutines, BrightnessReplaceByTableLength)
{
    struct Case {
        std::string table;
        std::string opened; // Data handed to the editor
        TVersion version;
        std::string result; // after Ok unchanged
    };
    const std::string v200 = "030405060708090A0B0C0D0E0F0F0F0F";
    const Case cases[] = {
        {"0123456789ABCDEF", "0123456789ABCDEF", TVersion::V300, "0123456789ABCDEF"},
        {v200, v200, TVersion::V200, v200},
        {"0123456789ABCDEF0123", "", TVersion::V300, "3456789ABCDEFFFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        RoutineRig rig;
        rig.select({"ESC BTable '" + c.table + "' EOC", esc(0xE0, c.table, true)});
        rig.params.setNextReply(SPD::ok());
        ASSERT_TRUE(rig.routines.Brightness(RoutineMode::ReplaceMode));
        EXPECT_EQ(rig.params.brightnessCalls().back().Data, c.opened);
        EXPECT_EQ(rig.params.brightnessCalls().back().Version, c.version);
        EXPECT_EQ(rig.line().commandLine(), esc(0xE0, c.result, true));
        EXPECT_EQ(rig.count(), 2);
        EXPECT_TRUE(rig.user.steps().empty()); // no generation question when editing
    }
}

TEST(CommandRoutines, HexDataInsertAndReplace)
{
    RoutineRig rig;
    rig.params.setNextReply(SPD::type({"a0ff"}));
    ASSERT_TRUE(rig.routines.HexData(RoutineMode::InsertMode));
    EXPECT_EQ(rig.line().commandLine(), "\x10\xA0\xFF");
    EXPECT_EQ(rig.line().displayText, "HEX 'A0 FF'");
    EXPECT_EQ(rig.params.hexCalls().back().LabelText, "Example Input: 22 33 23 AA AF FF");

    rig.select({"HEX '22 33'", "\x10\x22\x33"});
    rig.params.setNextReply(SPD::type({"12 3"}));
    EXPECT_FALSE(rig.routines.HexData(RoutineMode::ReplaceMode)); // odd digits
    EXPECT_EQ(rig.params.hexCalls().back().HexData, "22 33");
    rig.params.setNextReply(SPD::type({"1 2 3 4"}));
    ASSERT_TRUE(rig.routines.HexData(RoutineMode::ReplaceMode));
    EXPECT_EQ(rig.line().displayText, "HEX '12 34'");
    EXPECT_EQ(rig.line().commandLine(), "\x10\x12\x34");
    EXPECT_EQ(rig.count(), 3);
}

TEST(CommandRoutines, CancelChangesNothing)
{
    RoutineRig rig;
    rig.user.setNextAnswer(UserDialogs::Answer::No);
    for (int i = 0; i < 10; ++i)
        rig.params.setNextReply(SPD::cancel());
    EXPECT_FALSE(rig.routines.PlainText(askmode::InsertText));
    EXPECT_FALSE(rig.routines.OneParameter(lmx::esc::Sound, askmode::InsertHex2));
    EXPECT_FALSE(rig.routines.HexData(RoutineMode::InsertMode));
    EXPECT_FALSE(rig.routines.Brightness(RoutineMode::InsertMode));
    EXPECT_FALSE(rig.routines.WatchDog(RoutineMode::InsertMode));
    EXPECT_FALSE(rig.routines.LedTest(RoutineMode::InsertMode));
    EXPECT_FALSE(rig.routines.ConfDisplay(RoutineMode::InsertMode));
    EXPECT_FALSE(rig.routines.TimeDate(RoutineMode::InsertMode));
    EXPECT_FALSE(rig.routines.ForcePacket(RoutineMode::InsertMode));
    EXPECT_FALSE(rig.routines.NewPacket(RoutineMode::InsertMode));
    EXPECT_EQ(rig.count(), 1);
    EXPECT_FALSE(rig.box.changed());
    EXPECT_EQ(rig.params.unexpected(), 0);
}

// The replace forms read the selected line; fields a hand-edited line lacks, or that are not
// numbers, keep their defaults, and the end line is never replaced.
TEST(CommandRoutines, ReplaceFormsReadTheSelectedLine)
{
    RoutineRig rig;
    rig.params.setNextReply(SPD::ok());
    EXPECT_FALSE(rig.routines.WatchDog(RoutineMode::ReplaceMode)); // cursor on <End>
    EXPECT_TRUE(rig.params.calls().empty());

    rig.select({"ESC WatchDog '07' EOC", esc(0xE1, "07", true)});
    rig.params.setNextReply(SPD::ok());
    rig.routines.WatchDog(RoutineMode::ReplaceMode);
    const auto& wd = rig.params.tripleCalls().back();
    EXPECT_EQ(wd[0].CurrentValue, 7);
    EXPECT_EQ(wd[2].CurrentValue, 1);
    EXPECT_EQ(rig.line().commandLine(), esc(0xE1, "070001", true));

    // No final EOC byte: every character is a field.
    rig.select({"ESC Time/Date '991231235959' EOC", esc(0xE6, "991231235959")});
    rig.params.setNextReply(SPD::ok());
    rig.routines.TimeDate(RoutineMode::ReplaceMode);
    EXPECT_EQ(rig.params.fieldsCalls().back().second[11].CurrentValue, 59);
    EXPECT_EQ(rig.line().commandLine(), esc(0xE6, "991231235959", true));

    rig.select({"ESC LedTest 'x105' EOC", esc(0xE5, "x105", true)});
    rig.params.setNextReply(SPD::ok());
    rig.routines.LedTest(RoutineMode::ReplaceMode);
    EXPECT_EQ(rig.line().commandLine(), esc(0xE5, "0005", true));

    rig.select({"NPACK 'abc'", "\x08" "abc"});
    rig.params.setNextReply(SPD::ok());
    rig.routines.NewPacket(RoutineMode::ReplaceMode);
    EXPECT_EQ(rig.line().displayText, "NPACK '05000'");

    rig.select({"ESC Vert. Pos. '80'", esc(0xC4, "80")});
    rig.params.setNextReply(SPD::ok());
    rig.routines.OneParameter(lmx::esc::VertPos, askmode::EditHex2);
    EXPECT_EQ(rig.params.askValueCalls().back().askMode, askmode::EditHex2);
    EXPECT_EQ(rig.params.askValueCalls().back().currentText, "80");
    EXPECT_EQ(rig.count(), 6);
    EXPECT_EQ(rig.params.refused(), 0);
}

// Edit Data on every kind with a dialog of its own: the router opens the replace form, which
// shows the line's values, and Ok unchanged gives the same line.
TEST(CommandEditRouter, EveryKindRoundTripsThroughEditData)
{
    const lmx::CommandEntry lines[] = {
        lmx::escapeLine(0xA3, "2"),           lmx::escapeLine(0xC1, "99"),
        lmx::escapeLine(0xE2, "800"),         lmx::hexLine("22 33", "\x22\x33"),
        lmx::escapeLine(0xE0, "0123456789ABCDEF"),
        lmx::escapeLine(0xE0, "0F0E0D0C0B0A09080706050403020100"),
        lmx::escapeLine(0xE1, "03FE64"),      lmx::escapeLine(0xE5, "2359"),
        lmx::escapeLine(0xE4, "0810101010101010101010101010101001"),
        lmx::escapeLine(0xE6, "991231235958"), lmx::breakLine(false, "00250"),
        lmx::breakLine(true, "10000"),         lmx::textLine("Hello"),
    };
    for (const lmx::CommandEntry& e : lines) {
        SCOPED_TRACE(e.displayText);
        RoutineRig rig;
        BlockEditor blocks(rig.box, rig.params, rig.user);
        DataEditor data(rig.box, blocks, rig.params);
        CommandEditRouter router(rig.routines);
        data.setCommandEditHook(&router);
        rig.select(e);
        rig.params.setNextReply(SPD::ok());
        EXPECT_TRUE(data.EditData());
        EXPECT_EQ(rig.line().displayText, e.displayText);
        EXPECT_EQ(rig.line().commandLine(), e.commandLine);
        EXPECT_EQ(rig.count(), 2);
        EXPECT_EQ(rig.params.calls().size(), 1u);
        EXPECT_EQ(rig.params.refused(), 0);
    }
}

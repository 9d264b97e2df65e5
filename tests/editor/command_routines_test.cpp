#include "commands_support.h"

#include "dialogs/ask_data_rules.h"

#include <gtest/gtest.h>

using SPD = ScriptedParameterDialogs;

namespace {

std::string esc(uint8_t code, const std::string& param, bool eoc = true)
{
    return std::string("\x1B") + static_cast<char>(code) + param + (eoc ? "\x0C" : "");
}

// Runs `routine` with the reply queued; true when it changed the list.
template <class F>
bool answered(RoutineRig& rig, SPD::Reply reply, F&& routine)
{
    rig.params.setNextReply(std::move(reply));
    return routine();
}

} // namespace

// The one-parameter commands: Ok on the default, the highest value, and the first value out
// of range refused; then the commands of several values.
TEST(CommandRoutines, InsertFormsDefaultsAndRanges)
{
    struct Case {
        uint8_t code;
        const char* byDefault;
        const char* highest;
        const char* refused; // nullptr: every value of the digits is in range
    };
    const Case cases[] = {
        {0xA0, "1", "9", "A"},   {0xA1, "1", "3", "4"},   {0xA4, "1", "1", "2"},
        {0xA2, "1", "F", "0"},   {0xA7, "1", "F", "0"},   {0xA3, "0", "2", "3"},
        {0xA5, "0", "7", "8"},   {0xE2, "000", "800", nullptr}, {0xC4, "00", "7F", nullptr},
        {0xC7, "01", "FF", nullptr}, {0xC1, "00", "99", "9A"}, {0xC0, "00", "99", "9A"},
        {0xC6, "01", "FF", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(lmx::byteToHex(c.code));
        RoutineRig rig;
        const AskMode mode = hexAskMode(CommandRoutines::oneParameterCommand(c.code)->digits, false);
        auto run = [&] { return rig.routines.OneParameter(c.code, mode); };
        ASSERT_TRUE(answered(rig, SPD::ok(), run));
        EXPECT_EQ(rig.line().commandLine(), lmx::escapeLine(c.code, c.byDefault).commandLine);
        ASSERT_TRUE(answered(rig, SPD::type({c.highest}), run));
        if (c.refused) {
            EXPECT_FALSE(answered(rig, SPD::type({c.refused}), run));
        }
        EXPECT_EQ(rig.count(), 3);
    }
    RoutineRig rig;
    EXPECT_FALSE(rig.routines.OneParameter(lmx::esc::Font, AskMode::ByteCommand)); // does nothing
    EXPECT_TRUE(rig.params.calls().empty());

    // The commands of several values.
    const auto insert = RoutineMode::InsertMode;
    ASSERT_TRUE(answered(rig, SPD::ok(), [&] { return rig.routines.TimeDate(insert); }));
    EXPECT_EQ(rig.line().commandLine(), esc(0xE6, "000101000000"));
    EXPECT_FALSE(rig.params.fieldsCalls().back().second[5].Visible);
    ASSERT_TRUE(answered(rig, SPD::ok(), [&] { return rig.routines.ConfDisplay(insert); }));
    EXPECT_EQ(rig.line().commandLine(), esc(0xE4, "010808" + std::string(28, '0')));
    ASSERT_TRUE(answered(rig, SPD::ok(), [&] { return rig.routines.WatchDog(insert); }));
    EXPECT_EQ(rig.line().commandLine(), esc(0xE1, "000001"));
    ASSERT_TRUE(answered(rig, SPD::ok(), [&] { return rig.routines.ForcePacket(insert); }));
    EXPECT_EQ(hexOf(rig.line().commandLine()), "07 30 35 30 30 30");
    EXPECT_EQ(rig.line().displayText, "FPACK '05000'");
    ASSERT_TRUE(answered(rig, SPD::type({"7"}), [&] { return rig.routines.NewPacket(insert); }));
    EXPECT_EQ(rig.line().displayText, "NPACK '00007'");
    ASSERT_TRUE(answered(rig, SPD::type({"07", "FF", "64"}), [&] { return rig.routines.WatchDog(insert); }));
    ASSERT_TRUE(answered(rig, SPD::type({"24", "59"}), [&] { return rig.routines.LedTest(insert); }));
    EXPECT_EQ(rig.count(), 8);

    EXPECT_FALSE(answered(rig, SPD::type({"08", "00", "01"}), [&] { return rig.routines.WatchDog(insert); }));
    EXPECT_FALSE(answered(rig, SPD::type({"00", "00", "65"}), [&] { return rig.routines.WatchDog(insert); }));
    EXPECT_FALSE(answered(rig, SPD::type({"25", "00"}), [&] { return rig.routines.LedTest(insert); }));
    EXPECT_FALSE(answered(rig, SPD::type({"10001"}), [&] { return rig.routines.ForcePacket(insert); }));
    EXPECT_FALSE(answered(rig, SPD::type({"09"}), [&] { return rig.routines.ConfDisplay(insert); }));
    EXPECT_EQ(rig.params.refused(), 5);

    // Cancel changes nothing; an empty plain text is an empty command line.
    EXPECT_FALSE(answered(rig, SPD::cancel(), [&] { return rig.routines.TimeDate(insert); }));
    EXPECT_EQ(rig.count(), 8);
    ASSERT_TRUE(answered(rig, SPD::ok(), [&] { return rig.routines.PlainText(AskMode::InsertText); }));
    EXPECT_EQ(rig.line().commandLine(), "");
    EXPECT_EQ(rig.line().displayText, "''");
}

// Replace forms read the selected line; fields a hand-edited line lacks, or that are not
// numbers, keep their defaults, and the end line is never replaced.
TEST(CommandRoutines, ReplaceFormsReadTheSelectedLineAndTheBrightnessTableItsGeneration)
{
    RoutineRig rig;
    const auto replace = RoutineMode::ReplaceMode;
    EXPECT_FALSE(answered(rig, SPD::ok(), [&] { return rig.routines.WatchDog(replace); }));
    EXPECT_TRUE(rig.params.calls().empty()); // the cursor is on <End>
    rig.params = ScriptedParameterDialogs();

    struct Case {
        lmx::CommandEntry line;
        std::function<bool()> routine;
        std::string after; // Ok unchanged
    };
    const Case cases[] = {
        {{"ESC WatchDog '07' EOC", esc(0xE1, "07")}, [&] { return rig.routines.WatchDog(replace); },
         esc(0xE1, "070001")},
        {{"ESC Time/Date '991231235959'", esc(0xE6, "991231235959", false)},
         [&] { return rig.routines.TimeDate(replace); }, esc(0xE6, "991231235959")},
        {{"ESC LedTest 'x105' EOC", esc(0xE5, "x105")}, [&] { return rig.routines.LedTest(replace); },
         esc(0xE5, "0005")},
        {{"NPACK 'abc'", "\x08" "abc"}, [&] { return rig.routines.NewPacket(replace); }, "\x08" "05000"},
        {{"HEX '22 33'", "\x10\x22\x33"}, [&] { return rig.routines.HexData(replace); }, "\x10\x22\x33"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.displayText);
        rig.select(c.line);
        ASSERT_TRUE(answered(rig, SPD::ok(), c.routine));
        EXPECT_EQ(rig.line().commandLine(), c.after);
    }
    EXPECT_EQ(rig.count(), 6);
    EXPECT_EQ(rig.params.hexCalls().back().HexData, "22 33");

    // Inserting a brightness table asks for the generation.
    const auto insert = RoutineMode::InsertMode;
    rig.user.setNextAnswer(UserDialogs::Answer::No);
    ASSERT_TRUE(answered(rig, SPD::ok(), [&] { return rig.routines.Brightness(insert); }));
    EXPECT_EQ(rig.user.lastText().toStdString(),
              "LMX 2.xx Contains 32 bytes, LMX 3.xx Contains 16 bytes,\r\n\r\nIs LMX 2.xx used ?");
    EXPECT_EQ(rig.line().commandLine(), esc(0xE0, "3456789ABCDEFFFF"));
    rig.user.setNextAnswer(UserDialogs::Answer::Yes);
    ASSERT_TRUE(answered(rig, SPD::ok(), [&] { return rig.routines.Brightness(insert); }));
    EXPECT_EQ(rig.line().commandLine(), esc(0xE0, "030405060708090A0B0C0D0E0F0F0F0F"));
    rig.user.setNextAnswer(UserDialogs::Answer::Cancel); // neither Yes nor No: no editor
    rig.params.setNextReply(SPD::ok());
    EXPECT_FALSE(rig.routines.Brightness(insert));
    EXPECT_EQ(rig.params.brightnessCalls().size(), 2u);

    // Editing: the table's length gives the generation; any other length the defaults.
    const std::string v200 = "0F0E0D0C0B0A09080706050403020100";
    const std::pair<std::string, std::string> tables[] = {
        {"0123456789ABCDEF", "0123456789ABCDEF"}, {v200, v200},
        {"0123456789ABCDEF0123", "3456789ABCDEFFFF"}};
    for (const auto& [table, result] : tables) {
        rig.select({"ESC BTable '" + table + "' EOC", esc(0xE0, table)});
        ASSERT_TRUE(answered(rig, SPD::ok(), [&] { return rig.routines.Brightness(replace); }));
        EXPECT_EQ(rig.line().commandLine(), esc(0xE0, result));
    }
    EXPECT_EQ(rig.params.brightnessCalls()[3].Version, TVersion::V200);
    EXPECT_EQ(rig.params.brightnessCalls()[4].Data, "");
    EXPECT_EQ(rig.user.steps().size(), 3u); // no question when editing
}

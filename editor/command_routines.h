#pragma once
// The command routines behind the command buttons: each asks for its command's parameters in
// one of the parameter dialogs, builds the command line and display text, and inserts the
// line before the cursor line (insert form, from a button) or replaces the cursor line
// (replace form, from Edit Data; the dialog then opens with the line's values). Every routine
// returns true when the list changed; a cancelled dialog changes nothing.

#include "dialogs/ask_data_rules.h"
#include "param_defaults.h"
#include "protocol/vocabulary.h"

#include <cstdint>
#include <string>
#include <string_view>

class CommandBox;
class ParameterDialogs;
class UserDialogs;

enum class RoutineMode { InsertMode, ReplaceMode };

// A command edited through the Insert Data dialog with one to three hex digits.
struct OneParameterCommand {
    uint8_t code;
    Param param;
    const char* title;
    int digits;
};

class CommandRoutines {
public:
    static constexpr const char* kHexHeader = "Insert Hexadecimal Data";
    static constexpr const char* kHexExample = "Example Input: 22 33 23 AA AF FF";
    static constexpr const char* kBrightnessHeader = "BrightNess Table (in percentages)";
    static constexpr const char* kBrightnessQuestion =
            "LMX 2.xx Contains 32 bytes, LMX 3.xx Contains 16 bytes,\r\n\r\nIs LMX 2.xx used ?";
    static constexpr const char* kV200Default = "030405060708090A0B0C0D0E0F0F0F0F";
    static constexpr const char* kV300Default = "3456789ABCDEFFFF";
    static constexpr const char* kWatchDogTitle = "WatchDog (All in Hex)";
    static constexpr const char* kLedTestTitle = "Configure Led Test (All in Dec)";
    static constexpr const char* kConfDisplayTitle = "Configure Display (All in Hex)";
    static constexpr const char* kTimeDateTitle = "Configure Time And Date (All in Dec)";
    static constexpr const char* kWaitTitle = "Time between packets to wait";
    static constexpr const char* kWaitLabel = "Wait [mS]";

    CommandRoutines(CommandBox& box, ParameterDialogs& parameters, UserDialogs& dialogs,
                    const ParamDefaultsTable& defaults);

    // The row of a one-parameter command, or nullptr for any other code.
    static const OneParameterCommand* oneParameterCommand(uint8_t code);

    // Without a dialog, insert form only.
    void Separator();
    void Delete();
    void Inquiry(int number); // 1..4

    // The Insert Data routines take an AskMode: the insert modes insert, the edit modes
    // replace, ByteCommand does nothing. The field's digits always follow the command's row.
    bool PlainText(AskMode askMode);
    bool OneParameter(uint8_t code, AskMode askMode);

    bool HexData(RoutineMode mode);
    bool Brightness(RoutineMode mode);
    bool WatchDog(RoutineMode mode);
    bool LedTest(RoutineMode mode);
    bool ConfDisplay(RoutineMode mode);
    bool TimeDate(RoutineMode mode);
    bool ForcePacket(RoutineMode mode) { return PacketBreak(false, mode); }
    bool NewPacket(RoutineMode mode) { return PacketBreak(true, mode); }

    // The parameter text of an EOC-type command line: without ESC, the code byte and a final
    // EOC byte (a line without that final byte keeps its last character).
    static std::string eocParameter(std::string_view commandLine);

private:
    bool PacketBreak(bool newSeries, RoutineMode mode);
    // The selected line a replace form reads; false when there is none to replace (an empty
    // list, or the end line).
    bool canReplace() const;
    const std::string& cursorDisplayText() const;
    const std::string& cursorCommandLine() const;
    bool place(RoutineMode mode, const lmx::CommandEntry& entry);

    CommandBox& m_box;
    ParameterDialogs& m_parameters;
    UserDialogs& m_dialogs;
    const ParamDefaultsTable& m_defaults;
};

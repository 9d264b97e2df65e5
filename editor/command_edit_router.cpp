#include "command_edit_router.h"

#include "command_routines.h"
#include "commandbox/command_list.h"
#include "dialogs/ask_data_rules.h"

bool CommandEditRouter::editCommand(EditorKind kind, const CommandBoxLine& line)
{
    const std::string& bytes = line.commandLine();
    const auto byteAt = [&](size_t i) {
        return i < bytes.size() ? static_cast<uint8_t>(bytes[i]) : uint8_t{0};
    };
    const RoutineMode replace = RoutineMode::ReplaceMode;
    switch (kind) {
    case EditorKind::OneHexDigit:
        return m_routines.OneParameter(byteAt(1), AskMode::EditHex1);
    case EditorKind::TwoHexDigits:
        return m_routines.OneParameter(byteAt(1), AskMode::EditHex2);
    case EditorKind::ThreeHexDigits:
        return m_routines.OneParameter(byteAt(1), AskMode::EditHex3);
    case EditorKind::Brightness:
        return m_routines.Brightness(replace);
    case EditorKind::ValueDialog:
        if (byteAt(1) == lmx::esc::WatchDog)
            return m_routines.WatchDog(replace);
        if (byteAt(1) == lmx::esc::LedTest)
            return m_routines.LedTest(replace);
        return false;
    case EditorKind::EocFields:
        if (byteAt(1) == lmx::esc::ConfDisplay)
            return m_routines.ConfDisplay(replace);
        if (byteAt(1) == lmx::esc::TimeDate)
            return m_routines.TimeDate(replace);
        return false;
    case EditorKind::Wait:
        return byteAt(0) == lmx::code::NPACK ? m_routines.NewPacket(replace)
                                             : m_routines.ForcePacket(replace);
    case EditorKind::HexData:
        return m_routines.HexData(replace);
    case EditorKind::Text:
        return m_routines.PlainText(AskMode::EditText);
    default:
        // Block numbers and byte commands are edited by the command box itself.
        return false;
    }
}

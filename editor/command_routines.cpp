#include "command_routines.h"

#include "commandbox/command_box.h"
#include "data_editor.h"
#include "dialogs/ask_data_rules.h"
#include "dialogs/parameter_dialogs.h"
#include "platform/user_dialogs.h"
#include "protocol/hex.h"

#include <array>

namespace {

const std::array<OneParameterCommand, 13> kOneParameterCommands{{
    {lmx::esc::Font, Param::Font, "Hex. Font number", 1},
    {lmx::esc::Color, Param::Color, "Hex. Color number", 1},
    {lmx::esc::Flash, Param::Flash, "Hex. Flash On/Off", 1},
    {lmx::esc::HorSize, Param::HorSize, "Hex. Horizontal Size", 1},
    {lmx::esc::VertSize, Param::VertSize, "Hex. Vertical Size", 1},
    {lmx::esc::OutLine, Param::OutLine, "Hex. OutLine Number", 1},
    {lmx::esc::Enable, Param::Enable, "Hex. Enable Number", 1},
    {lmx::esc::HorPos, Param::HorPos, "Hex. Horizontal Position ", 3},
    {lmx::esc::VertPos, Param::VertPos, "Hex. Vertical Position ", 2},
    {lmx::esc::Sound, Param::Sound, "Hex. Sound ", 2},
    {lmx::esc::DisAppear, Param::DisAppear, "Hex. DisAppear Number", 2},
    {lmx::esc::Appear, Param::Appear, "Hex. Appear Number", 2},
    {lmx::esc::Pause, Param::Pause, "Hex. Pause ", 2},
}};

// Insert or replace by AskMode; false for the modes that do nothing here.
bool modeOfAsk(AskMode askMode, RoutineMode& mode)
{
    switch (askMode) {
    case AskMode::InsertText:
    case AskMode::InsertHex1:
    case AskMode::InsertHex2:
    case AskMode::InsertHex3:
        mode = RoutineMode::InsertMode;
        return true;
    case AskMode::EditText:
    case AskMode::EditHex1:
    case AskMode::EditHex2:
    case AskMode::EditHex3:
        mode = RoutineMode::ReplaceMode;
        return true;
    case AskMode::ByteCommand:
        return false;
    }
    return false;
}

// Field `index` of a parameter text cut into two-character fields, read as hex or decimal;
// `fallback` when the text is too short for it or the field is not a number.
long long twoCharField(const std::string& param, size_t index, bool hex, long long fallback)
{
    const size_t at = index * 2;
    if (param.size() < at + 2)
        return fallback;
    const std::string_view field = std::string_view(param).substr(at, 2);
    long long value = 0;
    if (hex ? lmx::hexToInt(field, value) : lmx::decToInt(field, value))
        return value;
    return fallback;
}

} // namespace

CommandRoutines::CommandRoutines(CommandBox& box, ParameterDialogs& parameters,
                                 UserDialogs& dialogs, const ParamDefaultsTable& defaults)
    : m_box(box), m_parameters(parameters), m_dialogs(dialogs), m_defaults(defaults)
{
}

const OneParameterCommand* CommandRoutines::oneParameterCommand(uint8_t code)
{
    for (const OneParameterCommand& c : kOneParameterCommands)
        if (c.code == code)
            return &c;
    return nullptr;
}

std::string CommandRoutines::eocParameter(std::string_view commandLine)
{
    if (commandLine.size() <= 2)
        return {};
    std::string_view param = commandLine.substr(2);
    if (static_cast<uint8_t>(param.back()) == lmx::code::EOC)
        param.remove_suffix(1);
    return std::string(param);
}

bool CommandRoutines::canReplace() const
{
    return m_box.list().cursor() >= 0 && cursorCommandLine() != lmx::kEndMarker;
}

const std::string& CommandRoutines::cursorDisplayText() const
{
    return m_box.cursorLine().displayText;
}

const std::string& CommandRoutines::cursorCommandLine() const
{
    return m_box.cursorLine().commandLine();
}

bool CommandRoutines::place(RoutineMode mode, const lmx::CommandEntry& entry)
{
    if (mode == RoutineMode::InsertMode)
        m_box.InsertCommandLine(entry.displayText, entry.commandLine);
    else
        m_box.ReplaceCommandLine(entry.displayText, entry.commandLine);
    return true;
}

void CommandRoutines::Separator()
{
    place(RoutineMode::InsertMode, lmx::separatorLine());
}

void CommandRoutines::Delete()
{
    place(RoutineMode::InsertMode, lmx::escapeLine(lmx::esc::Delete, {}));
}

void CommandRoutines::Inquiry(int number)
{
    if (number >= 1 && number <= 4)
        place(RoutineMode::InsertMode, lmx::inquiryLine(number));
}

bool CommandRoutines::PlainText(AskMode askMode)
{
    RoutineMode mode{};
    if (!modeOfAsk(askMode, mode) || (mode == RoutineMode::ReplaceMode && !canReplace()))
        return false;
    AskValueRequest request;
    request.caption = DataEditor::kTextCaption;
    if (mode == RoutineMode::ReplaceMode) {
        request.askMode = AskMode::EditText;
        request.currentText = prefillText(AskMode::EditText, cursorDisplayText());
    }
    const AskResult answer = m_parameters.AskValue(request);
    if (!answer.confirmed)
        return false;
    return place(mode, lmx::textLine(answer.raw));
}

bool CommandRoutines::OneParameter(uint8_t code, AskMode askMode)
{
    const OneParameterCommand* command = oneParameterCommand(code);
    RoutineMode mode{};
    if (!command || !modeOfAsk(askMode, mode)
        || (mode == RoutineMode::ReplaceMode && !canReplace()))
        return false;
    const ParamLimits& limits = m_defaults[command->param];
    AskValueRequest request;
    request.caption = command->title;
    request.maximum = limits.maximum;
    request.defaultValue = limits.defaultValue;
    request.minimum = limits.minimum;
    if (mode == RoutineMode::InsertMode) {
        request.askMode = hexAskMode(command->digits, false);
    } else {
        request.askMode = hexAskMode(command->digits, true);
        request.currentText = prefillText(request.askMode, cursorDisplayText());
    }
    const AskResult answer = m_parameters.AskValue(request);
    if (!answer.confirmed)
        return false;
    return place(mode, lmx::escapeLine(code, answer.raw));
}

bool CommandRoutines::HexData(RoutineMode mode)
{
    if (mode == RoutineMode::ReplaceMode && !canReplace())
        return false;
    THexData data;
    data.Header = kHexHeader;
    data.LabelText = kHexExample;
    if (mode == RoutineMode::ReplaceMode) {
        // The display text is "HEX '" + hex text + "'".
        const std::string& shown = cursorDisplayText();
        if (shown.size() >= 6)
            data.HexData = shown.substr(5, shown.size() - 6);
    }
    if (!m_parameters.AskHexData(data))
        return false;
    std::string bytes;
    if (data.HexData.empty() || !lmx::hexTextToBytes(data.HexData, bytes))
        return false;
    return place(mode, lmx::hexLine(data.HexData, bytes));
}

bool CommandRoutines::Brightness(RoutineMode mode)
{
    if (mode == RoutineMode::ReplaceMode && !canReplace())
        return false;
    TBrightData data;
    data.Header = kBrightnessHeader;
    if (mode == RoutineMode::InsertMode) {
        switch (m_dialogs.askYesNo(QString::fromLatin1(kBrightnessQuestion), QString(),
                                   UserDialogs::Icon::Question)) {
        case UserDialogs::Answer::Yes:
            data.Version = TVersion::V200;
            data.Data = kV200Default;
            break;
        case UserDialogs::Answer::No:
            data.Version = TVersion::V300;
            data.Data = kV300Default;
            break;
        default:
            return false;
        }
    } else {
        data.Data = eocParameter(cursorCommandLine());
        if (data.Data.size() == 32) {
            data.Version = TVersion::V200;
        } else {
            if (data.Data.size() != 16)
                data.Data.clear();
            data.Version = TVersion::V300;
        }
    }
    if (!m_parameters.AskBrightness(data))
        return false;
    return place(mode, lmx::escapeLine(lmx::esc::BTable, data.Data));
}

bool CommandRoutines::WatchDog(RoutineMode mode)
{
    if (mode == RoutineMode::ReplaceMode && !canReplace())
        return false;
    const std::string old = mode == RoutineMode::ReplaceMode ? eocParameter(cursorCommandLine())
                                                             : std::string();
    const std::array<std::pair<const char*, Param>, 3> fields{{
        {"Flag", Param::WatchDogFlag},
        {"Count Down", Param::WatchDogCountDown},
        {"Message", Param::MessageNumber},
    }};
    std::array<TTripleBox, 3> boxes;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const ParamLimits& limits = m_defaults[fields[i].second];
        boxes[i].Header = kWatchDogTitle;
        boxes[i].BoxLabel = fields[i].first;
        boxes[i].MaxValue = limits.maximum;
        boxes[i].MinValue = limits.minimum;
        boxes[i].CurrentValue = twoCharField(old, i, true, limits.defaultValue);
        boxes[i].HexInput = true;
    }
    if (!m_parameters.AskTriple(boxes[0], boxes[1], boxes[2]))
        return false;
    return place(mode, lmx::escapeLine(lmx::esc::WatchDog, boxes[0].CurrValStr
                                                               + boxes[1].CurrValStr
                                                               + boxes[2].CurrValStr));
}

bool CommandRoutines::LedTest(RoutineMode mode)
{
    if (mode == RoutineMode::ReplaceMode && !canReplace())
        return false;
    const std::string old = mode == RoutineMode::ReplaceMode ? eocParameter(cursorCommandLine())
                                                             : std::string();
    const std::array<std::pair<const char*, Param>, 2> fields{{
        {"Hours", Param::LedHours},
        {"Minutes", Param::LedMinutes},
    }};
    std::array<TDoubleBox, 2> boxes;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const ParamLimits& limits = m_defaults[fields[i].second];
        boxes[i].Header = kLedTestTitle;
        boxes[i].BoxLabel = fields[i].first;
        boxes[i].MaxValue = limits.maximum;
        boxes[i].MinValue = limits.minimum;
        boxes[i].CurrentValue = twoCharField(old, i, false, limits.defaultValue);
    }
    if (!m_parameters.AskDouble(boxes[0], boxes[1]))
        return false;
    return place(mode, lmx::escapeLine(lmx::esc::LedTest, boxes[0].CurrValStr + boxes[1].CurrValStr));
}

bool CommandRoutines::ConfDisplay(RoutineMode mode)
{
    if (mode == RoutineMode::ReplaceMode && !canReplace())
        return false;
    const std::string old = mode == RoutineMode::ReplaceMode ? eocParameter(cursorCommandLine())
                                                             : std::string();
    BoxConfigs configs{};
    for (size_t i = 0; i < kEocFields; ++i) {
        TBoxConfig& c = configs[i];
        const Param p = i == 0 ? Param::HorBoards : confLine(static_cast<int>(i));
        c.BoxCaption = i == 0 ? "n Hor. Boards" : "Line " + std::to_string(i);
        c.MaxValue = m_defaults[p].maximum;
        c.MinValue = m_defaults[p].minimum;
        c.CurrentValue = twoCharField(old, i, true, m_defaults[p].defaultValue);
        c.Visible = true;
    }
    const AskResult answer = m_parameters.AskFields(kConfDisplayTitle, configs);
    if (!answer.confirmed)
        return false;
    return place(mode, lmx::escapeLine(lmx::esc::ConfDisplay, answer.raw));
}

bool CommandRoutines::TimeDate(RoutineMode mode)
{
    if (mode == RoutineMode::ReplaceMode && !canReplace())
        return false;
    const std::string old = mode == RoutineMode::ReplaceMode ? eocParameter(cursorCommandLine())
                                                             : std::string();
    constexpr size_t kFirst = 6; // the middle row of the dialog's grid
    const std::array<std::pair<const char*, Param>, 6> fields{{
        {"Year", Param::Year},
        {"Month", Param::Month},
        {"Date", Param::Date},
        {"Hours", Param::Hours},
        {"Minutes", Param::Minutes},
        {"Seconds", Param::Seconds},
    }};
    BoxConfigs configs{};
    for (size_t i = 0; i < fields.size(); ++i) {
        TBoxConfig& c = configs[kFirst + i];
        const ParamLimits& limits = m_defaults[fields[i].second];
        c.BoxCaption = fields[i].first;
        c.MaxValue = limits.maximum;
        c.MinValue = limits.minimum;
        c.CurrentValue = twoCharField(old, i, false, limits.defaultValue);
        c.DecInput = true;
        c.Visible = true;
    }
    const AskResult answer = m_parameters.AskFields(kTimeDateTitle, configs);
    if (!answer.confirmed)
        return false;
    return place(mode, lmx::escapeLine(lmx::esc::TimeDate, answer.raw));
}

bool CommandRoutines::PacketBreak(bool newSeries, RoutineMode mode)
{
    if (mode == RoutineMode::ReplaceMode && !canReplace())
        return false;
    const ParamLimits& limits = m_defaults[Param::Wait];
    TSingleBox box;
    box.Header = kWaitTitle;
    box.BoxLabel = kWaitLabel;
    box.MaxValue = limits.maximum;
    box.MinValue = limits.minimum;
    box.CurrentValue = limits.defaultValue;
    long long wait = 0;
    if (mode == RoutineMode::ReplaceMode && cursorCommandLine().size() > 1
        && lmx::decToInt(std::string_view(cursorCommandLine()).substr(1), wait))
        box.CurrentValue = wait;
    if (!m_parameters.AskSingle(box))
        return false;
    return place(mode, lmx::breakLine(newSeries, lmx::waitDigits(box.CurrentValue)));
}

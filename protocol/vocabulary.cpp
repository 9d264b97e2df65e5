#include "vocabulary.h"

#include "hex.h"

namespace lmx {

ParamKind paramKindOf(uint8_t commandByte)
{
    if (commandByte < 0x80)
        return ParamKind::Illegal;
    if (commandByte < 0xA0)
        return ParamKind::None;
    if (commandByte < 0xC0)
        return ParamKind::One;
    if (commandByte < 0xE0)
        return ParamKind::Two;
    return ParamKind::Eoc;
}

bool hasFixedEocSize(uint8_t commandByte)
{
    switch (commandByte) {
    case esc::BTable:
    case esc::WatchDog:
    case esc::HorPos:
    case esc::ConfDisplay:
    case esc::LedTest:
    case esc::TimeDate:
        return true;
    default:
        return false;
    }
}

bool isValidEocSize(uint8_t commandByte, size_t length)
{
    switch (commandByte) {
    case esc::BTable:
        return length == 16 || length == 32;
    case esc::WatchDog:
        return length == 4 || length == 6;
    case esc::HorPos:
        return length == 3;
    case esc::ConfDisplay:
        return length == 34;
    case esc::LedTest:
        return length == 4;
    case esc::TimeDate:
        return length == 12;
    default:
        return length >= 1;
    }
}

std::string escapeName(unsigned value)
{
    switch (value) {
    case 1:
    case 2:
    case 3:
    case 4:
        return "ESC Inquiry" + std::to_string(value);
    case esc::Delete:
        return "ESC Delete";
    case esc::Font:
        return "ESC Font";
    case esc::Color:
        return "ESC Color";
    case esc::HorSize:
        return "ESC Hor.Size";
    case esc::OutLine:
        return "ESC OutLine";
    case esc::Flash:
        return "ESC Flash";
    case esc::Enable:
        return "ESC Enable";
    case esc::VertSize:
        return "ESC Vert.Size";
    case esc::Appear:
        return "ESC Appear";
    case esc::DisAppear:
        return "ESC DisAppear";
    case esc::VertPos:
        return "ESC Vert. Pos.";
    case esc::Pause:
        return "ESC Pause";
    case esc::Sound:
        return "ESC Sound";
    case esc::BTable:
        return "ESC BTable";
    case esc::WatchDog:
        return "ESC WatchDog";
    case esc::HorPos:
        return "ESC Hor. Pos.";
    case esc::ConfDisplay:
        return "ESC Conf.Display";
    case esc::LedTest:
        return "ESC LedTest";
    case esc::TimeDate:
        return "ESC Time/Date";
    default:
        return "ESC $" + byteToHex(static_cast<uint8_t>(value & 0xFF));
    }
}

const BlockInfo& blockInfo(BlockKind kind)
{
    static const BlockInfo kBlocks[] = {
        {"SOT", "EOT", code::SOT, code::EOT, "Hex. Display Number"},
        {"STX", "ETX", code::STX, code::ETX, "Hex. Message Number"},
        {"SOP", "EOP", code::SOP, code::EOP, "Hex. Page Number"},
        {"SOL", "EOL", code::SOL, code::EOL, "Hex. Line Number"},
    };
    return kBlocks[static_cast<int>(kind)];
}

uint32_t fontColourOf(std::string_view text)
{
    auto starts = [&](std::string_view a, std::string_view b) {
        return text.substr(0, a.size()) == a || text.substr(0, b.size()) == b;
    };
    if (starts("SOT", "EOT"))
        return 0xFF0000;
    if (starts("STX", "ETX"))
        return 0x3CAAFB;
    if (starts("SOP", "EOP"))
        return 0x05C97A;
    if (starts("SOL", "EOL"))
        return 0xC89806;
    if (starts("FPACK", "NPACK"))
        return 0x375FA8;
    if (text.substr(0, 3) == "SEP")
        return 0x184BA0;
    return 0x942578;
}

namespace {

// A HEX line keeps the longest start of its hex text that fits and holds whole byte pairs;
// a text of mostly blanks is shown as its bytes instead.
void cutHexLine(std::string& displayText, std::string& commandLine)
{
    constexpr size_t kPrefix = 5; // "HEX '"
    const size_t room = kLineSizeLimit - kPrefix - 1;
    size_t end = 0;
    size_t digits = 0;
    for (size_t i = 0; i < room; ++i)
        if (displayText[kPrefix + i] != ' ' && ++digits % 2 == 0)
            end = i + 1;
    std::string bytes;
    if (end == 0 || !hexTextToBytes(std::string_view(displayText).substr(kPrefix, end), bytes)) {
        displayText = "HEX '" + normalisedHexText(commandLine.substr(1)) + "'";
        applyLineSizeLimit(displayText, commandLine);
        return;
    }
    displayText.resize(kPrefix + end);
    displayText += '\'';
    commandLine.resize(1);
    commandLine += bytes;
}

} // namespace

bool applyLineSizeLimit(std::string& displayText, std::string& commandLine)
{
    if (3 * displayText.size() <= 4001)
        return false;
    // A quoted text or parameter is cut inside its apostrophes and its bytes in the command
    // line with it, so the line stays one the command file reader reads back the same.
    const size_t excess = displayText.size() - kLineSizeLimit;
    const size_t open = displayText.find('\'');
    const size_t close = displayText.rfind('\'');
    if (open != std::string::npos && close > open + 1 + excess) {
        if (!commandLine.empty() && static_cast<uint8_t>(commandLine[0]) == code::HEX
            && displayText.compare(0, 5, "HEX '") == 0 && close + 1 == displayText.size()) {
            cutHexLine(displayText, commandLine);
            return true;
        }
        // The command line ends in the quoted part, or in the quoted part and the EOC byte.
        const std::string_view quotedPart(displayText.data() + open + 1, close - open - 1);
        const auto endsInQuoted = [&](size_t after) {
            return commandLine.size() >= quotedPart.size() + after
                && std::string_view(commandLine)
                           .substr(commandLine.size() - after - quotedPart.size(),
                                   quotedPart.size())
                       == quotedPart;
        };
        const bool eoc = !commandLine.empty()
            && static_cast<uint8_t>(commandLine.back()) == code::EOC;
        const size_t after = endsInQuoted(0) ? 0 : eoc && endsInQuoted(1) ? 1 : 2;
        if (after < 2) {
            const size_t keep = quotedPart.size() - excess;
            commandLine.erase(commandLine.size() - after - excess, excess);
            displayText.erase(open + 1 + keep, excess);
            return true;
        }
    }
    displayText.resize(kLineSizeLimit);
    if (commandLine.size() > kLineSizeLimit)
        commandLine.resize(kLineSizeLimit);
    return true;
}

namespace {

std::string quoted(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out += '\'';
    out += text;
    out += '\'';
    return out;
}

std::string escapeDisplay(std::string name, uint8_t commandByte, std::string_view param)
{
    if (!param.empty()) {
        name += ' ';
        name += quoted(param);
    }
    if (paramKindOf(commandByte) == ParamKind::Eoc)
        name += " EOC";
    return name;
}

std::string escapeCommand(uint8_t commandByte, std::string_view param)
{
    std::string out;
    out.reserve(param.size() + 3);
    out += static_cast<char>(code::ESC);
    out += static_cast<char>(commandByte);
    out += param;
    if (paramKindOf(commandByte) == ParamKind::Eoc)
        out += static_cast<char>(code::EOC);
    return out;
}

} // namespace

CommandEntry endLine()
{
    return {std::string(kEndMarker), std::string(kEndMarker)};
}

CommandEntry textLine(std::string_view text)
{
    return {quoted(text), std::string(text)};
}

CommandEntry blockStartLine(BlockKind kind, std::string_view digits)
{
    const BlockInfo& b = blockInfo(kind);
    std::string command(1, static_cast<char>(b.startByte));
    command += digits;
    return {std::string(b.startTag) + " " + quoted(digits), command};
}

CommandEntry blockEndLine(BlockKind kind)
{
    const BlockInfo& b = blockInfo(kind);
    return {b.endTag, std::string(1, static_cast<char>(b.endByte))};
}

CommandEntry separatorLine()
{
    return {"SEP", std::string(1, static_cast<char>(code::SEP))};
}

CommandEntry breakLine(bool newSeries, std::string_view fiveDigits)
{
    std::string command(1, static_cast<char>(newSeries ? code::NPACK : code::FPACK));
    command += fiveDigits;
    return {std::string(newSeries ? "NPACK " : "FPACK ") + quoted(fiveDigits), command};
}

std::string waitDigits(long long ms)
{
    std::string digits = std::to_string(ms < 0 ? 0 : ms);
    if (digits.size() < 5)
        digits.insert(0, 5 - digits.size(), '0');
    return digits;
}

CommandEntry hexLine(std::string_view hexText, std::string_view bytes)
{
    std::string command(1, static_cast<char>(code::HEX));
    command += bytes;
    return {"HEX " + quoted(hexText), command};
}

CommandEntry escapeLine(uint8_t commandByte, std::string_view param)
{
    return {escapeDisplay(escapeName(commandByte), commandByte, param),
            escapeCommand(commandByte, param)};
}

CommandEntry inquiryLine(int number)
{
    std::string command{static_cast<char>(code::ESC), static_cast<char>(esc::Inquiry),
                        static_cast<char>('0' + number)};
    return {escapeName(static_cast<unsigned>(number)), command};
}

CommandEntry keyLine(std::string_view keyName, uint8_t commandByte, std::string_view param)
{
    std::string command(1, static_cast<char>(code::KEY));
    command += escapeCommand(commandByte, param);
    return {escapeDisplay("ESC " + std::string(keyName), commandByte, param), command};
}

std::string signedParam(int value, int digits)
{
    return toHex(value, digits);
}

} // namespace lmx

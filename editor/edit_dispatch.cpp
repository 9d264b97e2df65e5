#include "edit_dispatch.h"

namespace {

uint8_t byteAt(std::string_view s, size_t i)
{
    return static_cast<uint8_t>(s[i]);
}

bool isEnd(std::string_view commandLine)
{
    return commandLine == lmx::kEndMarker;
}

} // namespace

EditorKind editorKindOf(std::string_view line)
{
    if (line.empty())
        return EditorKind::Text;
    namespace c = lmx::code;
    switch (byteAt(line, 0)) {
    case c::SOT:
    case c::STX:
    case c::SOP:
    case c::SOL:
        return EditorKind::BlockNumber;
    case c::FPACK:
    case c::NPACK:
        return EditorKind::Wait;
    case c::HEX:
        return EditorKind::HexData;
    case c::KEY:
        if (line.size() >= 3 && byteAt(line, 1) == c::ESC && byteAt(line, 2) >= 0xA0)
            return EditorKind::ByteCommand;
        return EditorKind::None;
    case c::ESC: {
        if (line.size() < 2)
            return EditorKind::None;
        const uint8_t command = byteAt(line, 1);
        switch (command) {
        case 0xA0: case 0xA1: case 0xA2: case 0xA3: case 0xA4: case 0xA5: case 0xA7:
            return EditorKind::OneHexDigit;
        case 0xC0: case 0xC1: case 0xC4: case 0xC6: case 0xC7:
            return EditorKind::TwoHexDigits;
        case 0xE2:
            return EditorKind::ThreeHexDigits;
        case 0xE0:
            return EditorKind::Brightness;
        case 0xE1: case 0xE5:
            return EditorKind::ValueDialog;
        case 0xE4: case 0xE6:
            return EditorKind::EocFields;
        default:
            return command >= 0xA0 ? EditorKind::ByteCommand : EditorKind::None;
        }
    }
    default:
        return EditorKind::Text;
    }
}

bool isEditable(std::string_view line)
{
    if (isEnd(line))
        return false;
    if (line.empty())
        return true;
    namespace c = lmx::code;
    switch (byteAt(line, 0)) {
    case c::ETX:
    case c::EOT:
    case c::EOL:
    case c::EOP:
    case c::SEP:
        return false;
    case c::ESC: {
        if (line.size() < 2)
            return false;
        const uint8_t command = byteAt(line, 1);
        return !((command >= 0x80 && command <= 0x9F) || command == lmx::esc::Inquiry);
    }
    case c::KEY:
        if (line.size() >= 3 && byteAt(line, 1) == c::ESC) {
            const uint8_t command = byteAt(line, 2);
            return !(command < 0x7A || (command >= 0x80 && command <= 0x9F));
        }
        return true;
    default:
        return true;
    }
}

bool blockKindOfStart(std::string_view line, lmx::BlockKind& kind)
{
    if (line.empty())
        return false;
    for (lmx::BlockKind k : lmx::kBlockKinds)
        if (byteAt(line, 0) == lmx::blockInfo(k).startByte) {
            kind = k;
            return true;
        }
    return false;
}

lmx::CommandEntry byteCommandEdit(std::string_view displayText, std::string_view commandLine,
                                  std::string_view newText)
{
    lmx::CommandEntry out;
    const std::string quoted = "'" + std::string(newText) + "'";

    std::string display(displayText);
    const size_t open = display.find('\'');
    if (open == std::string::npos) {
        display += ' ';
        display += quoted;
    } else {
        const size_t close = display.find('\'', open + 1);
        display.erase(open, close == std::string::npos ? std::string::npos : close - open + 1);
        display.insert(open, quoted);
    }
    out.displayText = std::move(display);

    // The parameter never reaches into the key prefix, the escape byte or the command byte,
    // even when a hand-edited line holds fewer characters than its display text.
    const size_t prefix = (!commandLine.empty() && byteAt(commandLine, 0) == lmx::code::KEY ? 1 : 0) + 2;
    std::string line(commandLine.substr(0, std::min(prefix, commandLine.size())));
    const std::string_view param = commandLine.size() > prefix ? commandLine.substr(prefix)
                                                               : std::string_view();
    if (!param.empty() && byteAt(param, param.size() - 1) == lmx::code::EOC) {
        line += newText;
        line += static_cast<char>(lmx::code::EOC);
    } else if (param.size() >= newText.size()) {
        line += param.substr(0, param.size() - newText.size());
        line += newText;
    } else {
        line += newText;
    }
    out.commandLine = std::move(line);
    return out;
}

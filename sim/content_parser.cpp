#include "content_parser.h"

#include "protocol/vocabulary.h"

#include <set>
#include <vector>

namespace lmx::sim {

namespace {

using namespace content_code;

struct Field {
    int width;
    bool hex;
    int min;
    int max;
};

bool isUpperHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool isDecDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digitValue(char c)
{
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

// Reads `param` as the fields in order; its length must be their widths' sum.
uint8_t checkFields(std::string_view param, const std::vector<Field>& fields)
{
    size_t total = 0;
    for (const auto& f : fields)
        total += static_cast<size_t>(f.width);
    if (param.size() != total)
        return FormatError;
    for (size_t i = 0, at = 0; i < fields.size(); at += static_cast<size_t>(fields[i].width), ++i)
        for (int k = 0; k < fields[i].width; ++k)
            if (!(fields[i].hex ? isUpperHexDigit(param[at + k]) : isDecDigit(param[at + k])))
                return InvalidHexDec;
    size_t at = 0;
    for (const auto& f : fields) {
        int value = 0;
        for (int k = 0; k < f.width; ++k)
            value = value * (f.hex ? 16 : 10) + digitValue(param[at + k]);
        if (value < f.min || value > f.max)
            return OutOfRange;
        at += static_cast<size_t>(f.width);
    }
    return Ok;
}

std::vector<Field> repeated(Field f, int count)
{
    return std::vector<Field>(static_cast<size_t>(count), f);
}

// Longest parameter text of an end-of-command escape command; 0 when the display does not
// know the command.
size_t maxEocParam(uint8_t command)
{
    switch (command) {
    case esc::BTable: return 32;
    case esc::WatchDog: return 6;
    case esc::HorPos: return 3;
    case esc::ConfDisplay: return 34;
    case esc::LedTest: return 4;
    case esc::TimeDate: return 12;
    default: return 0;
    }
}

bool knownShortCommand(uint8_t command)
{
    switch (command) {
    case esc::Font:
    case esc::Color:
    case esc::HorSize:
    case esc::OutLine:
    case esc::Flash:
    case esc::Enable:
    case esc::Inquiry:
    case esc::VertSize:
    case esc::Appear:
    case esc::DisAppear:
    case esc::VertPos:
    case esc::Pause:
    case esc::Sound:
        return true;
    default:
        return false;
    }
}

size_t shortParamSize(uint8_t command)
{
    return paramKindOf(command) == ParamKind::One ? 1 : 2;
}

std::string statusText(const DisplayState& display)
{
    std::set<int> messages;
    for (const auto& [path, text] : display.texts)
        if (path.message >= 0)
            messages.insert(path.message);
    return "Ready, " + std::to_string(messages.size()) + " messages, "
           + std::to_string(display.memoryUsed) + " bytes used";
}

} // namespace

uint8_t checkSettingParam(uint8_t command, std::string_view param)
{
    const Field hex1{1, true, 0, 15};
    const Field hex2{2, true, 0, 255};
    switch (command) {
    case esc::Font: return checkFields(param, {{1, true, 0, 9}});
    case esc::Color: return checkFields(param, {{1, true, 0, 3}});
    case esc::HorSize: return checkFields(param, {{1, true, 1, 15}});
    case esc::OutLine: return checkFields(param, {{1, true, 0, 2}});
    case esc::Flash: return checkFields(param, {{1, true, 0, 1}});
    case esc::Enable: return checkFields(param, {{1, true, 0, 7}});
    case esc::VertSize: return checkFields(param, {{1, true, 1, 15}});
    case esc::Appear:
    case esc::DisAppear: return checkFields(param, {{2, true, 0, 0x99}});
    case esc::VertPos:
    case esc::Pause:
    case esc::Sound: return checkFields(param, {hex2});
    case esc::BTable:
        // one hex digit per level (16 characters) or two (32 characters); levels 0..15
        if (param.size() == 16)
            return checkFields(param, repeated(hex1, 16));
        return checkFields(param, repeated({2, true, 0, 15}, 16));
    case esc::WatchDog:
        // flag, count down and, in the long form, the message shown when it runs out
        if (param.size() == 4)
            return checkFields(param, {{2, true, 0, 7}, hex2});
        return checkFields(param, {{2, true, 0, 7}, hex2, {2, true, 0, kMaxBlockNumber}});
    case esc::HorPos: return checkFields(param, {{3, true, 0, 0xFFF}});
    case esc::ConfDisplay: {
        std::vector<Field> fields{{2, true, 1, 8}};
        const auto lines = repeated({2, true, 0, 16}, 16);
        fields.insert(fields.end(), lines.begin(), lines.end());
        return checkFields(param, fields);
    }
    case esc::LedTest: return checkFields(param, {{2, false, 0, 24}, {2, false, 0, 59}});
    case esc::TimeDate:
        return checkFields(param, {{2, false, 0, 99}, {2, false, 1, 12}, {2, false, 1, 31},
                                   {2, false, 0, 23}, {2, false, 0, 59}, {2, false, 0, 59}});
    default: return InvalidCommand;
    }
}

ContentParser::Result ContentParser::feed(std::string_view data, DisplayState& display,
                                          std::time_t wallNow)
{
    Result r;
    for (char c : data) {
        r.code = takeByte(static_cast<uint8_t>(c), display, wallNow, r.reply);
        if (r.code != Ok) {
            r.reply.clear();
            reset();
            break;
        }
    }
    return r;
}

uint8_t ContentParser::endOfSeries()
{
    if (m_state == State::Text)
        return Ok;
    reset();
    return FormatError;
}

void ContentParser::reset()
{
    m_state = State::Text;
    m_code = 0;
    m_param.clear();
    m_message = m_page = m_line = -1;
}

BlockPath ContentParser::openBlock() const
{
    return {m_message, m_page, m_line};
}

uint8_t ContentParser::takeByte(uint8_t c, DisplayState& display, std::time_t wallNow,
                                std::string& reply)
{
    switch (m_state) {
    case State::Text:
        if (c == code::ESC) {
            m_state = State::EscByte;
            return Ok;
        }
        if (c < 0x20)
            return controlByte(c, display);
        if (c >= 0x7F && c <= 0x9F)
            return InvalidTextChar;
        return display.appendText(openBlock(), static_cast<char>(c)) ? Ok : MemoryFull;
    case State::EscByte:
        m_code = c;
        m_param.clear();
        if (c == esc::Delete) {
            display.clearTexts();
            m_state = State::Text;
            return Ok;
        }
        if (!knownShortCommand(c) && maxEocParam(c) == 0)
            return InvalidCommand;
        m_state = State::EscParam;
        return Ok;
    case State::EscParam:
        if (paramKindOf(m_code) == ParamKind::Eoc) {
            if (c == code::EOC)
                return escapeDone(display, wallNow, reply);
            m_param += static_cast<char>(c);
            return m_param.size() > maxEocParam(m_code) ? FormatError : Ok;
        }
        m_param += static_cast<char>(c);
        return m_param.size() == shortParamSize(m_code) ? escapeDone(display, wallNow, reply)
                                                        : Ok;
    case State::BlockNumber:
        m_param += static_cast<char>(c);
        return m_param.size() == 2 ? blockNumberDone(display) : Ok;
    case State::BreakDigits:
        if (!isDecDigit(static_cast<char>(c)))
            return InvalidHexDec;
        m_param += static_cast<char>(c);
        if (m_param.size() == 5)
            m_state = State::Text;
        return Ok;
    }
    return Ok;
}

uint8_t ContentParser::controlByte(uint8_t c, DisplayState& display)
{
    switch (c) {
    case code::STX:
        if (m_message >= 0)
            return InvalidControl; // messages do not nest
        break;
    case code::SOP:
        if (m_message < 0 || m_page >= 0)
            return InvalidControl;
        break;
    case code::SOL:
        if (m_page < 0 || m_line >= 0)
            return InvalidControl;
        break;
    case code::ETX:
        if (m_message < 0 || m_page >= 0)
            return InvalidControl;
        m_message = -1;
        return Ok;
    case code::EOP:
        if (m_page < 0 || m_line >= 0)
            return InvalidControl;
        m_page = -1;
        return Ok;
    case code::EOL:
        if (m_line < 0)
            return InvalidControl;
        m_line = -1;
        return Ok;
    case code::SEP:
        return display.appendText(openBlock(), kSeparatorMark) ? Ok : MemoryFull;
    case code::FPACK:
    case code::NPACK:
        // packet breaks with their wait; they mean nothing to a display
        m_param.clear();
        m_state = State::BreakDigits;
        return Ok;
    default:
        // SOT and EOT belong to the framing; the key and hex markers never leave the editor
        return InvalidControl;
    }
    m_code = c;
    m_param.clear();
    m_state = State::BlockNumber;
    return Ok;
}

uint8_t ContentParser::blockNumberDone(DisplayState& display)
{
    m_state = State::Text;
    if (!isUpperHexDigit(m_param[0]) || !isUpperHexDigit(m_param[1]))
        return InvalidHexDec;
    const int number = digitValue(m_param[0]) * 16 + digitValue(m_param[1]);
    if (number > kMaxBlockNumber)
        return InvalidBlockNr;
    if (m_code == code::STX)
        m_message = number;
    else if (m_code == code::SOP)
        m_page = number;
    else
        m_line = number;
    // a block sent again replaces what it held
    return display.clearBlock(openBlock()) ? Ok : MemoryFull;
}

uint8_t ContentParser::escapeDone(DisplayState& display, std::time_t wallNow,
                                  std::string& reply)
{
    m_state = State::Text;
    if (m_code == esc::Inquiry) {
        const char which = m_param[0];
        if (!isDecDigit(which))
            return InvalidHexDec;
        switch (which) {
        case '1': reply += statusText(display); break;
        case '2': reply += kVersionText; break;
        case '3': reply += display.clockText(wallNow); break;
        case '4': reply += display.configuration; break;
        default: return OutOfRange;
        }
        return Ok;
    }
    const uint8_t verdict = checkSettingParam(m_code, m_param);
    if (verdict != Ok)
        return verdict;
    display.settings[m_code] = m_param;
    if (m_code == esc::ConfDisplay) {
        display.configuration = m_param;
    } else if (m_code == esc::TimeDate) {
        auto two = [this](size_t at) { return (m_param[at] - '0') * 10 + (m_param[at + 1] - '0'); };
        std::tm civil{};
        civil.tm_year = 100 + two(0);
        civil.tm_mon = two(2) - 1;
        civil.tm_mday = two(4);
        civil.tm_hour = two(6);
        civil.tm_min = two(8);
        civil.tm_sec = two(10);
        display.setClock(civil, wallNow);
    }
    return Ok;
}

} // namespace lmx::sim

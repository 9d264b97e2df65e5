#include "key_def_rules.h"

#include "protocol/hex.h"
#include "protocol/vocabulary.h"

namespace {

constexpr int kFirstCode = 0x7F; // CommandIndex 1 is code 80

int kindOfIndex(int index)
{
    if (index <= 0)
        return 0;
    switch (lmx::paramKindOf(static_cast<uint8_t>(index + kFirstCode))) {
    case lmx::ParamKind::One: return 1;
    case lmx::ParamKind::Two: return 2;
    case lmx::ParamKind::Eoc: return 3;
    default: return 0;
    }
}

bool refused(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return c == '\'' || ((u < 0x20 || u == 0x7F) && c != keychar::Backspace && c != keychar::Enter);
}

} // namespace

std::string KeyDefRules::entryText(int index)
{
    if (index == 0)
        return "$00";
    if (index < 0 || index >= kEntries)
        return {};
    return "$" + lmx::byteToHex(static_cast<uint8_t>(index + kFirstCode));
}

bool KeyDefRules::codeOfEntry(std::string_view entry, uint8_t& code)
{
    const size_t dollar = entry.find('$');
    return dollar != std::string_view::npos && lmx::hexToByte(entry.substr(dollar + 1, 2), code);
}

const char* KeyDefRules::parameterKindText(int nParam)
{
    static const char* const kTexts[] = {"0", "1", "2", "EOC"};
    return nParam >= 0 && nParam <= 3 ? kTexts[nParam] : "";
}

void KeyDefRules::open(const lmx::TKeyDefinition& key)
{
    m_caption = key.Id.substr(0, kMaxCaptionLength);
    chooseCommand(key.CommandIndex);
    setParamText(key.ParamData);
}

void KeyDefRules::chooseCommand(int index)
{
    m_commandIndex = index >= 0 && index < kEntries ? index : 0;
    m_kind = kindOfIndex(m_commandIndex);
    static const char* const kInitial[] = {"", "0", "00", "000"};
    m_param = m_commandIndex == 0 ? "" : kInitial[m_kind];
}

int KeyDefRules::paramMaxLength() const
{
    return m_kind == 1 || m_kind == 2 ? m_kind : 0;
}

KeyOutcome KeyDefRules::key(char c) const
{
    if (refused(c))
        return {false, c};
    return {true, upperAscii(c)};
}

bool KeyDefRules::setParamText(std::string_view text)
{
    if (!paramEnabled()) {
        m_param.clear();
        return true;
    }
    bool clean = true;
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (refused(c) || c == keychar::Backspace || c == keychar::Enter) {
            clean = false;
            continue;
        }
        out += upperAscii(c);
    }
    const int max = paramMaxLength();
    if (max > 0 && out.size() > static_cast<size_t>(max))
        out.resize(static_cast<size_t>(max));
    m_param = std::move(out);
    return clean;
}

bool KeyDefRules::paramValid() const
{
    switch (m_kind) {
    case 0: return m_commandIndex != 0;
    case 1: return m_param.size() == 1;
    case 2: return m_param.size() == 2;
    default: return !m_param.empty();
    }
}

bool KeyDefRules::fill(lmx::TKeyDefinition& key, std::string_view entry) const
{
    uint8_t code = 0;
    if (!okEnabled() || !codeOfEntry(entry, code))
        return false;
    const lmx::CommandEntry line = lmx::keyLine(m_caption, code, m_param);
    key.ButtonCaption = m_caption + " = " + std::string(entry);
    key.NParam = m_kind;
    key.CommandIndex = m_commandIndex;
    key.CommandStr = line.displayText;
    key.CommandHexData = line.commandLine;
    key.ParamData = m_param;
    key.Enabled = m_commandIndex != 0;
    return true;
}

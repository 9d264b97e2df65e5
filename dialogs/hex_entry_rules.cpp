#include "hex_entry_rules.h"

void HexEntryRules::open(const THexData& data)
{
    m_title = data.Header;
    m_label = data.LabelText;
    m_text = normalisedForClass(KeyClass::HexEntry, data.HexData);
}

void HexEntryRules::setText(std::string_view text)
{
    m_text = normalisedForClass(KeyClass::HexEntry, text);
}

std::string HexEntryRules::digits() const
{
    std::string out;
    out.reserve(m_text.size());
    for (char c : m_text)
        if (c != ' ')
            out += c;
    return out;
}

bool HexEntryRules::okEnabled() const
{
    const std::string d = digits();
    // Any character but a blank or a hex digit (only a paste gets one in) would make the
    // caller's conversion to bytes fail after the user confirmed.
    return !d.empty() && d.size() % 2 == 0 && onlyAllowedCharacters(KeyClass::HexEntry, d);
}

std::string HexEntryRules::normalised() const
{
    if (!okEnabled())
        return {};
    const std::string d = digits();
    std::string out;
    out.reserve(d.size() / 2 * 3);
    for (size_t i = 0; i < d.size(); i += 2) {
        if (!out.empty())
            out += ' ';
        out.append(d, i, 2);
    }
    return out;
}

bool HexEntryRules::fill(THexData& data) const
{
    if (!okEnabled())
        return false;
    data.HexData = normalised();
    return true;
}

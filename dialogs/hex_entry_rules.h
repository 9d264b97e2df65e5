#pragma once
// The rules of the hex data entry dialog (TEditHexForm): a row of hex digit pairs, Ok while
// the digits are a whole number of bytes, the text normalised to "22 33 AA" on Ok.

#include "field_keys.h"

#include <string>
#include <string_view>

struct THexData {
    std::string Header;    // dialog title
    std::string LabelText; // label above the field
    std::string HexData;   // in: initial text; out: the normalised hex text
};

class HexEntryRules {
public:
    void open(const THexData& data);

    const std::string& title() const { return m_title; }
    const std::string& label() const { return m_label; }

    KeyOutcome key(char c) const { return filterKey(KeyClass::HexEntry, c); }
    // Letters are upper-cased (pasted text included).
    void setText(std::string_view text);
    const std::string& text() const { return m_text; }

    // Blanks removed, what is left is not empty, of even length and only hex digits.
    bool okEnabled() const;
    // Upper-case digit pairs joined by single blanks ("12 34"); empty while Ok is disabled.
    std::string normalised() const;
    // Stores the normalised text in the record; false (record untouched) while Ok is disabled.
    bool fill(THexData& data) const;

private:
    std::string digits() const;

    std::string m_title;
    std::string m_label;
    std::string m_text;
};

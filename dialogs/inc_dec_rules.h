#pragma once
// The rules of the one- and two-value decimal dialogs (TSingleIncDec, TDoubleIncDec): one
// decimal field per record with arrows stepping by 1, one shared message line, Ok while every
// field holds a value in range, zero-padding on Ok.

#include "field_keys.h"
#include "value_boxes.h"

#include <string>
#include <string_view>
#include <vector>

// One decimal field of the one- and two-value dialogs.
class IncDecField {
public:
    void open(const ValueBox& box);

    // Entry length: the number of decimal digits of MaxValue.
    int entryLength() const { return m_entryLength; }
    KeyOutcome key(char c) const { return filterKey(KeyClass::Decimal, c); }
    // Cut to the entry length. Returns true when the text changed.
    bool setText(std::string_view text);
    const std::string& text() const { return m_text; }

    // The value read from the text; a text that is not a number reads as MinValue.
    long long value() const;
    bool valid() const;
    // The message line after a change of this field: empty, "MaxValue = ..." or "MinValue = ...".
    std::string message() const;

    // One step up or down, kept within MinValue..MaxValue. Returns true when the text changed.
    bool stepUp();
    bool stepDown();

    // The value and the text left-padded with "0" to the entry length.
    void fill(ValueBox& box) const;

private:
    long long m_min = 0;
    long long m_max = 0;
    int m_entryLength = 1;
    std::string m_text;
};

class IncDecRules {
public:
    // One field per record (one or two); the title is the first record's Header.
    void open(const std::vector<ValueBox>& boxes);

    size_t fieldCount() const { return m_fields.size(); }
    const IncDecField& field(size_t i) const { return m_fields.at(i); }
    const std::string& title() const { return m_title; }

    KeyOutcome key(size_t i, char c) const { return m_fields.at(i).key(c); }
    // A field's new text; the message line is written by the field that changed.
    void setText(size_t i, std::string_view text);
    void stepUp(size_t i);
    void stepDown(size_t i);

    bool okEnabled() const;
    const std::string& message() const { return m_message; }

    // Fills every record when Ok is enabled; returns false (nothing written) otherwise.
    bool fill(std::vector<ValueBox*> boxes) const;

private:
    std::vector<IncDecField> m_fields;
    std::string m_title;
    std::string m_message;
};

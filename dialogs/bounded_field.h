#pragma once
// A hex or decimal field with bounds, a spin and its own message texts, and a set of such
// fields sharing one message line. The three-value dialog and the EOC dialog are built from
// them.

#include "field_keys.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct BoundedFieldConfig {
    bool hex = true;
    int entryLength = 2;
    long long minValue = 0;
    long long maxValue = 0;
    bool decimalNeedsFullLength = false; // a decimal text is valid only at the entry length
    bool padDecimal = false;             // the spins write decimal values left-padded with "0"
    bool resetToMinimum = false;         // the spins turn an unreadable text into MinValue, not 0
};

class BoundedField {
public:
    // What a change does to the shared message line: nothing (nullopt), clear it ("") or
    // show a text.
    using MessageEffect = std::optional<std::string>;

    // Sets the bounds and the text; validates it and returns the message effect.
    MessageEffect open(const BoundedFieldConfig& config, std::string_view text);

    const BoundedFieldConfig& config() const { return m_config; }
    KeyOutcome key(char c) const { return filterKey(keyClass(), c); }
    KeyClass keyClass() const { return m_config.hex ? KeyClass::Hex : KeyClass::Decimal; }

    // A new text, upper-cased and cut to the entry length; an unchanged text is not validated
    // again (nullopt).
    MessageEffect setText(std::string_view text);
    const std::string& text() const { return m_text; }

    // The value read from the text; a text that cannot be read gives 0.
    long long value() const;
    bool inError() const { return m_inError; }

    MessageEffect spinUp();
    MessageEffect spinDown();

    // The field text of a value: hex with the entry length, decimal padded where configured.
    std::string textOf(long long value) const { return format(m_config, value); }
    static std::string format(const BoundedFieldConfig& config, long long value);

private:
    MessageEffect validate();
    bool readable(long long& value) const;

    BoundedFieldConfig m_config;
    std::string m_text;
    bool m_inError = false;
};

// Fields sharing one message line; Ok while no visible field is in error.
class BoundedFieldSet {
public:
    void clear();
    // Adds a field and validates its initial text.
    void add(const BoundedFieldConfig& config, std::string_view text, bool visible = true);

    size_t size() const { return m_fields.size(); }
    const BoundedField& field(size_t i) const { return m_fields.at(i); }
    bool visible(size_t i) const { return m_visible.at(i); }

    KeyOutcome key(size_t i, char c) const { return m_fields.at(i).key(c); }
    void setText(size_t i, std::string_view text);
    void spinUp(size_t i);
    void spinDown(size_t i);

    bool okEnabled() const;
    const std::string& message() const { return m_message; }

private:
    void apply(size_t i, const BoundedField::MessageEffect& effect);

    std::vector<BoundedField> m_fields;
    std::vector<bool> m_visible;
    std::string m_message;
};

#pragma once
// The rules of the three-value dialog (TTripleIncDec): three hex or decimal fields, one
// message line, Ok while no field is in error, the texts returned unpadded.

#include "bounded_field.h"
#include "value_boxes.h"

#include <array>
#include <string>

class TripleRules {
public:
    static constexpr size_t kFields = 3;

    // Each field starts at its record's CurrentValue (hex: at least 2 digits) and is
    // validated once; the title is the first record's Header.
    void open(const std::array<TTripleBox, kFields>& boxes);

    const std::string& title() const { return m_title; }
    const std::string& label(size_t i) const { return m_labels.at(i); }
    const BoundedFieldSet& fields() const { return m_fields; }
    const BoundedField& field(size_t i) const { return m_fields.field(i); }

    KeyOutcome key(size_t i, char c) const { return m_fields.key(i, c); }
    void setText(size_t i, std::string_view text) { m_fields.setText(i, text); }
    void spinUp(size_t i) { m_fields.spinUp(i); }
    void spinDown(size_t i) { m_fields.spinDown(i); }

    bool okEnabled() const { return m_fields.okEnabled(); }
    const std::string& message() const { return m_fields.message(); }

    // Writes each record's InError; on Ok also CurrentValue and CurrValStr. Returns false
    // (values untouched) while a field is in error.
    bool fill(std::array<TTripleBox*, kFields> boxes) const;

    // The hex text a value starts with: at least two digits, more when the value needs them.
    static std::string initialHexText(long long value);

private:
    BoundedFieldSet m_fields;
    std::string m_title;
    std::array<std::string, kFields> m_labels;
};

#pragma once
// The rules of the EOC dialog (TEocFrm): seventeen hex or decimal fields described by
// TBoxConfig records, each validated like a field of the three-value dialog; the visible
// fields' texts joined in field order are the result.

#include "ask_data_rules.h"
#include "bounded_field.h"

#include <array>
#include <string>

struct TBoxConfig {
    std::string BoxCaption; // text of the field's label
    long long MaxValue = 0;
    long long MinValue = 0;
    long long CurrentValue = 0; // initial value shown
    bool DecInput = false;      // decimal digits (else hex digits)
    bool Visible = false;       // the field, its spin and its label are shown
    bool TwoDigits = true;      // hex fields: two digits, else one
    bool InError = false;       // set while the field's text is invalid
};

constexpr size_t kEocFields = 17;
using BoxConfigs = std::array<TBoxConfig, kEocFields>;

class EocRules {
public:
    // Takes a copy of the records, clears their InError and sets every field from them.
    void open(const std::string& title, const BoxConfigs& configs);

    const std::string& title() const { return m_title; }
    // The dialog's copy of the records, InError kept up to date.
    const BoxConfigs& configs() const { return m_configs; }
    const BoundedField& field(size_t i) const { return m_fields.field(i); }
    bool visible(size_t i) const { return m_configs.at(i).Visible; }
    // Entry length: decimal: the digits of MaxValue; hex: 2 when TwoDigits, else 1.
    static int entryLength(const TBoxConfig& config);

    KeyOutcome key(size_t i, char c) const { return m_fields.key(i, c); }
    void setText(size_t i, std::string_view text);
    void spinUp(size_t i);
    void spinDown(size_t i);

    bool okEnabled() const { return m_fields.okEnabled(); }
    const std::string& message() const { return m_fields.message(); }

    // The visible fields' texts in field order, confirmed only while Ok is enabled.
    AskResult result() const;

private:
    void syncErrors();

    std::string m_title;
    BoxConfigs m_configs;
    BoundedFieldSet m_fields;
};

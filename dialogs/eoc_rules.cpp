#include "eoc_rules.h"

int EocRules::entryLength(const TBoxConfig& config)
{
    if (config.DecInput)
        return static_cast<int>(std::to_string(config.MaxValue).size());
    return config.TwoDigits ? 2 : 1;
}

void EocRules::open(const std::string& title, const BoxConfigs& configs)
{
    m_title = title;
    m_configs = configs;
    m_fields.clear();
    // Every field is validated at every call, even when its text equals the last call's:
    // otherwise a value out of range could come back with Ok enabled.
    for (TBoxConfig& c : m_configs) {
        c.InError = false;
        BoundedFieldConfig fc;
        fc.hex = !c.DecInput;
        fc.entryLength = entryLength(c);
        fc.minValue = c.MinValue;
        fc.maxValue = c.MaxValue;
        fc.decimalNeedsFullLength = true;
        fc.padDecimal = true;
        fc.resetToMinimum = true;
        m_fields.add(fc, BoundedField::format(fc, c.CurrentValue), c.Visible);
    }
    syncErrors();
}

void EocRules::syncErrors()
{
    for (size_t i = 0; i < kEocFields; ++i)
        m_configs[i].InError = m_configs[i].Visible && m_fields.field(i).inError();
}

void EocRules::setText(size_t i, std::string_view text)
{
    m_fields.setText(i, text);
    syncErrors();
}

void EocRules::spinUp(size_t i)
{
    m_fields.spinUp(i);
    syncErrors();
}

void EocRules::spinDown(size_t i)
{
    m_fields.spinDown(i);
    syncErrors();
}

AskResult EocRules::result() const
{
    if (!okEnabled())
        return {};
    std::string raw;
    for (size_t i = 0; i < kEocFields; ++i)
        if (m_configs[i].Visible)
            raw += m_fields.field(i).text();
    return {true, raw, "'" + raw + "'"};
}

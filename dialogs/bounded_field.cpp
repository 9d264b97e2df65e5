#include "bounded_field.h"

#include "protocol/hex.h"

BoundedField::MessageEffect BoundedField::open(const BoundedFieldConfig& config,
                                               std::string_view text)
{
    m_config = config;
    if (m_config.entryLength < 1)
        m_config.entryLength = 1;
    m_text = normalisedForClass(keyClass(), text.substr(0, static_cast<size_t>(m_config.entryLength)));
    return validate();
}

BoundedField::MessageEffect BoundedField::setText(std::string_view text)
{
    std::string next =
        normalisedForClass(keyClass(), text.substr(0, static_cast<size_t>(m_config.entryLength)));
    if (next == m_text)
        return std::nullopt;
    m_text = std::move(next);
    return validate();
}

bool BoundedField::readable(long long& value) const
{
    return m_config.hex ? lmx::hexToInt(m_text, value) : lmx::decToInt(m_text, value);
}

long long BoundedField::value() const
{
    long long v = 0;
    return readable(v) ? v : 0;
}

BoundedField::MessageEffect BoundedField::validate()
{
    long long v = 0;
    const bool isNumber = readable(v);
    if (!isNumber)
        v = 0;
    MessageEffect effect;
    if (v < m_config.minValue)
        effect = m_config.hex ? "Minimum Value (Hex): " + lmx::toHex(m_config.minValue, m_config.entryLength)
                              : "Minimum Value (Dec): " + std::to_string(m_config.minValue);
    else if (v > m_config.maxValue)
        effect = m_config.hex ? "Maximum Value (Hex): " + lmx::toHex(m_config.maxValue, m_config.entryLength)
                              : "Maxmimum Value (Dec): " + std::to_string(m_config.maxValue);
    else if (v > m_config.minValue && v < m_config.maxValue)
        effect = std::string();

    const bool needsLength = m_config.hex || m_config.decimalNeedsFullLength;
    const bool lengthOk = !needsLength || m_text.size() == static_cast<size_t>(m_config.entryLength);
    // An empty or unreadable text never counts as a value, or it would reach the caller.
    m_inError = !(isNumber && lengthOk && v >= m_config.minValue && v <= m_config.maxValue);
    return effect;
}

std::string BoundedField::format(const BoundedFieldConfig& config, long long value)
{
    if (config.hex)
        return lmx::toHex(value, config.entryLength);
    std::string text = std::to_string(value);
    if (config.padDecimal && text.size() < static_cast<size_t>(config.entryLength))
        text.insert(0, static_cast<size_t>(config.entryLength) - text.size(), '0');
    return text;
}

BoundedField::MessageEffect BoundedField::spinUp()
{
    long long v = 0;
    if (!readable(v))
        return setText(textOf(m_config.resetToMinimum ? m_config.minValue : 0));
    MessageEffect effect;
    if (v >= m_config.maxValue) {
        v = m_config.maxValue;
        effect = m_config.hex ? "Maximum Value (Hex): " + lmx::toHex(m_config.maxValue, m_config.entryLength)
                              : "Maxmimum Value (Dec): " + std::to_string(m_config.maxValue);
    } else {
        ++v;
    }
    const MessageEffect changed = setText(textOf(v));
    return changed ? changed : effect;
}

BoundedField::MessageEffect BoundedField::spinDown()
{
    long long v = 0;
    if (!readable(v))
        return setText(textOf(m_config.resetToMinimum ? m_config.minValue : 0));
    MessageEffect effect;
    if (v <= m_config.minValue) {
        v = m_config.minValue;
        effect = m_config.hex ? "Minimum Value (Hex): " + lmx::toHex(m_config.minValue, m_config.entryLength)
                              : "Minimum Value (Dec): " + std::to_string(m_config.minValue);
    } else {
        --v;
    }
    const MessageEffect changed = setText(textOf(v));
    return changed ? changed : effect;
}

void BoundedFieldSet::clear()
{
    m_fields.clear();
    m_visible.clear();
    m_message.clear();
}

void BoundedFieldSet::add(const BoundedFieldConfig& config, std::string_view text, bool visible)
{
    m_fields.emplace_back();
    m_visible.push_back(visible);
    apply(m_fields.size() - 1, m_fields.back().open(config, text));
}

void BoundedFieldSet::apply(size_t i, const BoundedField::MessageEffect& effect)
{
    // A hidden field's bounds mean nothing to the user.
    if (effect && m_visible[i])
        m_message = *effect;
}

void BoundedFieldSet::setText(size_t i, std::string_view text)
{
    if (i < m_fields.size())
        apply(i, m_fields[i].setText(text));
}

void BoundedFieldSet::spinUp(size_t i)
{
    if (i < m_fields.size())
        apply(i, m_fields[i].spinUp());
}

void BoundedFieldSet::spinDown(size_t i)
{
    if (i < m_fields.size())
        apply(i, m_fields[i].spinDown());
}

bool BoundedFieldSet::okEnabled() const
{
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_visible[i] && m_fields[i].inError())
            return false;
    return true;
}

#include "inc_dec_rules.h"

#include "protocol/hex.h"

void IncDecField::open(const ValueBox& box)
{
    m_min = box.MinValue;
    m_max = box.MaxValue;
    m_entryLength = static_cast<int>(std::to_string(m_max).size());
    m_text = std::to_string(box.CurrentValue);
}

bool IncDecField::setText(std::string_view text)
{
    std::string next(text.substr(0, static_cast<size_t>(m_entryLength)));
    if (next == m_text)
        return false;
    m_text = std::move(next);
    return true;
}

long long IncDecField::value() const
{
    long long v = 0;
    return lmx::decToInt(m_text, v) ? v : m_min;
}

bool IncDecField::valid() const
{
    long long v = 0;
    return lmx::decToInt(m_text, v) && v >= m_min && v <= m_max;
}

std::string IncDecField::message() const
{
    const long long v = value();
    if (v >= m_max)
        return "MaxValue = " + std::to_string(m_max);
    if (v <= m_min)
        return "MinValue = " + std::to_string(m_min);
    return {};
}

bool IncDecField::stepUp()
{
    long long v = value();
    v = v < m_min ? m_min : (v >= m_max ? m_max : v + 1);
    return setText(std::to_string(v));
}

bool IncDecField::stepDown()
{
    long long v = value();
    v = v > m_max ? m_max : (v <= m_min ? m_min : v - 1);
    return setText(std::to_string(v));
}

void IncDecField::fill(ValueBox& box) const
{
    std::string padded = m_text;
    if (padded.size() < static_cast<size_t>(m_entryLength))
        padded.insert(0, static_cast<size_t>(m_entryLength) - padded.size(), '0');
    box.CurrentValue = value();
    box.CurrValStr = padded;
}

void IncDecRules::open(const std::vector<ValueBox>& boxes)
{
    m_fields.assign(boxes.size(), IncDecField());
    for (size_t i = 0; i < boxes.size(); ++i)
        m_fields[i].open(boxes[i]);
    m_title = boxes.empty() ? std::string() : boxes.front().Header;
    m_message.clear();
}

void IncDecRules::setText(size_t i, std::string_view text)
{
    if (i >= m_fields.size())
        return;
    if (m_fields[i].setText(text))
        m_message = m_fields[i].message();
}

void IncDecRules::stepUp(size_t i)
{
    if (i >= m_fields.size())
        return;
    m_fields[i].stepUp();
    m_message = m_fields[i].message();
}

void IncDecRules::stepDown(size_t i)
{
    if (i >= m_fields.size())
        return;
    m_fields[i].stepDown();
    m_message = m_fields[i].message();
}

bool IncDecRules::okEnabled() const
{
    for (const IncDecField& f : m_fields)
        if (!f.valid())
            return false;
    return !m_fields.empty();
}

bool IncDecRules::fill(std::vector<ValueBox*> boxes) const
{
    if (!okEnabled() || boxes.size() != m_fields.size())
        return false;
    for (size_t i = 0; i < boxes.size(); ++i)
        m_fields[i].fill(*boxes[i]);
    return true;
}

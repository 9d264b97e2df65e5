#include "triple_rules.h"

#include "protocol/hex.h"

std::string TripleRules::initialHexText(long long value)
{
    int digits = 2;
    if (value < 0)
        digits = 8; // a negative value shows its 32-bit two's complement
    else
        while (digits < 16 && (static_cast<unsigned long long>(value) >> (4 * digits)) != 0)
            ++digits;
    return lmx::toHex(value, digits);
}

void TripleRules::open(const std::array<TTripleBox, kFields>& boxes)
{
    m_fields.clear();
    m_title = boxes[0].Header;
    for (size_t i = 0; i < kFields; ++i) {
        const TTripleBox& box = boxes[i];
        m_labels[i] = box.BoxLabel;
        BoundedFieldConfig config;
        config.hex = box.HexInput;
        config.minValue = box.MinValue;
        config.maxValue = box.MaxValue;
        std::string text;
        if (box.HexInput) {
            text = initialHexText(box.CurrentValue);
            config.entryLength = static_cast<int>(text.size());
        } else {
            text = std::to_string(box.CurrentValue);
            config.entryLength = static_cast<int>(std::to_string(box.MaxValue).size());
        }
        m_fields.add(config, text);
    }
}

bool TripleRules::fill(std::array<TTripleBox*, kFields> boxes) const
{
    for (size_t i = 0; i < kFields; ++i)
        boxes[i]->InError = field(i).inError();
    if (!okEnabled())
        return false;
    for (size_t i = 0; i < kFields; ++i) {
        boxes[i]->CurrentValue = field(i).value();
        boxes[i]->CurrValStr = field(i).text();
    }
    return true;
}

#include "ask_data_rules.h"

#include "protocol/hex.h"

namespace {

int hexDigitsOfMode(AskMode askMode)
{
    switch (askMode) {
    case AskMode::InsertHex1:
    case AskMode::EditHex1: return 1;
    case AskMode::InsertHex2:
    case AskMode::EditHex2: return 2;
    case AskMode::InsertHex3:
    case AskMode::EditHex3: return 3;
    case AskMode::InsertText:
    case AskMode::ByteCommand:
    case AskMode::EditText: return 0;
    }
    return 0;
}

std::string quote(const std::string& text)
{
    return "'" + text + "'";
}

} // namespace

AskMode hexAskMode(int digits, bool edit)
{
    if (digits <= 1)
        return edit ? AskMode::EditHex1 : AskMode::InsertHex1;
    if (digits == 2)
        return edit ? AskMode::EditHex2 : AskMode::InsertHex2;
    return edit ? AskMode::EditHex3 : AskMode::InsertHex3;
}

std::string prefillText(AskMode askMode, std::string_view displayText, bool wholeText)
{
    const size_t first = displayText.find('\'');
    switch (askMode) {
    case AskMode::ByteCommand: {
        if (first == std::string_view::npos)
            return {};
        const size_t second = displayText.find('\'', first + 1);
        const size_t end = second == std::string_view::npos ? displayText.size() : second;
        return std::string(displayText.substr(first + 1, end - first - 1));
    }
    case AskMode::EditText:
        if (wholeText)
            return std::string(displayText);
        if (displayText.size() < 2)
            return {};
        return std::string(displayText.substr(1, displayText.size() - 2));
    case AskMode::EditHex1:
    case AskMode::EditHex2:
    case AskMode::EditHex3:
        if (first == std::string_view::npos)
            return {};
        return std::string(
            displayText.substr(first + 1, static_cast<size_t>(hexDigitsOfMode(askMode))));
    case AskMode::InsertText:
    case AskMode::InsertHex1:
    case AskMode::InsertHex2:
    case AskMode::InsertHex3:
        return {};
    }
    return {};
}

bool marksEoc(std::string_view displayText)
{
    return displayText.find("EOC") != std::string_view::npos;
}

bool AskDataRules::open(const AskValueRequest& r)
{
    if (static_cast<int>(r.askMode) < static_cast<int>(AskMode::InsertText)
        || static_cast<int>(r.askMode) > static_cast<int>(AskMode::EditHex3))
        return false;
    m_minimum = r.minimum;
    m_maximum = r.maximum;
    m_caption = r.caption;
    m_message.clear();
    m_eoc = r.eoc;
    m_digits = hexDigitsOfMode(r.askMode);
    m_signed = false;
    m_maxLength = 0;
    m_fixedLength = 0;

    std::string initial;
    switch (r.askMode) {
    case AskMode::InsertText:
        m_type = FieldType::Text;
        break;
    case AskMode::EditText:
        m_type = FieldType::Text;
        initial = r.currentText;
        break;
    case AskMode::ByteCommand:
        m_type = FieldType::ByteCommand;
        // The parameter is shown as the line holds it: only typed letters become capitals.
        initial = r.currentText;
        m_fixedLength = initial.size();
        // A parameter without EOC keeps its length; QLineEdit reads 0 as "nothing", so an
        // empty parameter (only from a hand-edited file) gets no length limit either.
        if (!m_eoc)
            m_maxLength = static_cast<int>(m_fixedLength);
        break;
    case AskMode::InsertHex1:
    case AskMode::InsertHex2:
    case AskMode::InsertHex3:
    case AskMode::EditHex1:
    case AskMode::EditHex2:
    case AskMode::EditHex3:
        m_type = FieldType::Hex;
        m_maxLength = m_digits;
        m_signed = m_minimum + m_maximum + 1 == 0;
        if (r.askMode == hexAskMode(m_digits, false))
            initial = (r.askMode == AskMode::InsertHex1 && m_minimum < 0)
                          ? std::string("0")
                          : lmx::toHex(r.defaultValue, m_digits);
        else
            initial = r.currentText;
        break;
    }
    if (m_maxLength > 0 && initial.size() > static_cast<size_t>(m_maxLength))
        initial.resize(static_cast<size_t>(m_maxLength));
    m_text = m_type == FieldType::ByteCommand ? initial : normalisedForClass(keyClass(), initial);
    textChanged();
    return true;
}

KeyClass AskDataRules::keyClass() const
{
    switch (m_type) {
    case FieldType::Text: return KeyClass::Text;
    case FieldType::ByteCommand: return KeyClass::ByteCommand;
    case FieldType::Hex: return KeyClass::Hex;
    }
    return KeyClass::Text;
}

void AskDataRules::setText(std::string_view text)
{
    std::string next = normalisedEdit(keyClass(), m_text, text);
    if (m_maxLength > 0 && next.size() > static_cast<size_t>(m_maxLength))
        next.resize(static_cast<size_t>(m_maxLength));
    if (next == m_text)
        return;
    m_text = std::move(next);
    textChanged();
}

void AskDataRules::textChanged()
{
    if (m_type == FieldType::Hex && m_signed)
        m_message = "Value between " + lmx::toHex(m_minimum, 3) + "h (" +
                    std::to_string(m_minimum) + ") and " + lmx::toHex(m_maximum, 3) + "h (" +
                    std::to_string(m_maximum) + ")";
}

bool AskDataRules::okEnabled() const
{
    // Keys never let an apostrophe in, but a paste can: it would break the quoted text.
    if (!onlyAllowedCharacters(keyClass(), m_text))
        return false;
    switch (m_type) {
    case FieldType::Text: return true;
    case FieldType::ByteCommand: return m_eoc ? !m_text.empty() : m_text.size() == m_fixedLength;
    case FieldType::Hex: {
        long long value = 0;
        if (m_text.size() != static_cast<size_t>(m_digits) || !lmx::hexToInt(m_text, value))
            return false;
        return m_signed || (value >= m_minimum && value <= m_maximum);
    }
    }
    return false;
}

bool AskDataRules::readSigned(long long& value) const
{
    if (!lmx::hexToInt(m_text, value))
        return false;
    // The digits of a signed field are the two's complement of a negative value.
    if (m_signed && value > m_maximum)
        value -= 1LL << (4 * m_digits);
    return true;
}

std::string AskDataRules::hexText(long long value) const
{
    return lmx::toHex(value, m_digits);
}

void AskDataRules::spinUp()
{
    spin(+1);
}

void AskDataRules::spinDown()
{
    spin(-1);
}

// Above the maximum the value is set to it; at or below the minimum it stays as it is. Either
// way the message names the limit.
void AskDataRules::spin(int step)
{
    if (m_type != FieldType::Hex)
        return;
    long long value = 0;
    if (!readSigned(value)) {
        setText(std::string(static_cast<size_t>(m_digits), '0'));
        return;
    }
    const bool up = step > 0;
    if (up ? value < m_maximum : value > m_minimum) {
        value += step;
        m_message.clear();
    } else {
        const long long limit = up ? m_maximum : m_minimum;
        if (up)
            value = limit;
        m_message = std::string(up ? "MaxValue = " : "MinValue = ") + hexText(limit) + "h ("
                + std::to_string(limit) + ")";
    }
    setText(hexText(value));
}

AskResult AskDataRules::result() const
{
    if (!okEnabled())
        return {};
    return {true, m_text, quote(m_text)};
}

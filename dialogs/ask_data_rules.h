#pragma once
// The rules of the Insert Data dialog, without a window: what the field holds for each
// AskMode, which keys it takes, when Ok is enabled, what the spin does and what the message
// line says. TAskDataFrm shows them; tests drive them directly.

#include "field_keys.h"

#include <string>
#include <string_view>

// What the Insert Data dialog asks for.
enum class AskMode : int {
    InsertText = 0,
    ByteCommand = 1, // edit the parameter text of an escape command
    InsertHex1 = 2,
    InsertHex2 = 3,
    InsertHex3 = 4,
    EditText = 5,
    EditHex1 = 6,
    EditHex2 = 7,
    EditHex3 = 8,
};

// The hex mode for a field of 1 to 3 digits, inserting or editing.
AskMode hexAskMode(int digits, bool edit);

// One call of the Insert Data dialog, with its arguments in the order its callers give them.
struct AskValueRequest {
    AskMode askMode = AskMode::InsertText;
    std::string caption; // label above the field
    long long maximum = 0;
    long long defaultValue = 0;
    long long minimum = 0;
    // The edit modes (1, 5 to 8): the text the field starts with (see prefillText).
    std::string currentText;
    // Byte command mode: the edited line's display text contains "EOC" (see marksEoc).
    bool eoc = false;
};

// A confirmed text: raw as entered, quoted between two apostrophes.
struct AskResult {
    bool confirmed = false;
    std::string raw;
    std::string quoted;
};

// The edit modes' initial text, taken from the selected line's display text:
// byte command (1): the text between its first two apostrophes; edit text (5): the display
// text without its first and last character, or all of it when `wholeText` (the answer box
// shows its templates without apostrophes); edit hex (6 to 8): the 1, 2 or 3 characters after
// the first apostrophe. A display text without an apostrophe gives an empty text. Other
// modes give an empty text.
std::string prefillText(AskMode askMode, std::string_view displayText, bool wholeText = false);
// True when a display text marks an EOC-type command (its parameter length is free).
bool marksEoc(std::string_view displayText);

class AskDataRules {
public:
    enum class FieldType { Text, ByteCommand, Hex };

    // Sets the field up for a call; false for an AskMode outside 0..8 (nothing is shown then).
    bool open(const AskValueRequest& request);

    FieldType fieldType() const { return m_type; }
    KeyClass keyClass() const;
    // Hex digits of a hex field (1 to 3), 0 otherwise.
    int digits() const { return m_digits; }
    // Longest text the field takes; 0 when unlimited.
    int maxLength() const { return m_maxLength; }
    bool spinVisible() const { return m_type == FieldType::Hex; }
    bool isSigned() const { return m_signed; }
    const std::string& caption() const { return m_caption; }

    KeyOutcome key(char c) const { return filterKey(keyClass(), c); }
    // A new field text (typed or pasted): upper-cased where the field asks for it and cut to
    // the entry length. A text equal to the present one changes nothing.
    void setText(std::string_view text);
    const std::string& text() const { return m_text; }

    bool okEnabled() const;
    const std::string& message() const { return m_message; }

    void spinUp();
    void spinDown();

    // The confirmed result for the present text (confirmed only when Ok is enabled).
    AskResult result() const;

private:
    void textChanged();
    bool readSigned(long long& value) const;
    std::string hexText(long long value) const;
    void spin(int step);

    FieldType m_type = FieldType::Text;
    int m_digits = 0;
    int m_maxLength = 0;
    bool m_signed = false;
    bool m_eoc = false;
    size_t m_fixedLength = 0; // byte command without EOC: the only accepted length
    long long m_minimum = 0;
    long long m_maximum = 0;
    std::string m_caption;
    std::string m_text;
    std::string m_message;
};

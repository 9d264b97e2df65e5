#pragma once
// The rules of the key definition dialog, without a window: the command list ($00, then $80
// to $FF), the parameter kind each code range fixes, which keys the parameter field takes,
// when Ok is enabled and how Ok fills the key.

#include "dialogs/field_keys.h"
#include "files/key_definition.h"

#include <cstdint>
#include <string>
#include <string_view>

class KeyDefRules {
public:
    static constexpr int kEntries = 129;
    static constexpr int kMaxCaptionLength = 8;
    static constexpr const char* kConversionError = "Conversion Error KeyDefDlg";
    static constexpr const char* kTitle = "Key Definition Dialog";

    // "$00" for index 0, "$80".."$FF" for 1..128; empty outside the list.
    static std::string entryText(int index);
    // The code byte of a list entry: the two hex digits after "$".
    static bool codeOfEntry(std::string_view entry, uint8_t& code);
    // The texts of the "Number of Parameters" list, by NParam.
    static const char* parameterKindText(int nParam);

    // The dialog's state for a key: its identifier as caption, its command and parameter.
    void open(const lmx::TKeyDefinition& key);
    std::string title() const { return std::string(kTitle) + " " + m_caption; }

    const std::string& caption() const { return m_caption; }
    int commandIndex() const { return m_commandIndex; }
    // Chooses a list entry (0..128) and sets the parameter field up for its code range.
    void chooseCommand(int index);

    // The parameter kind of the chosen code: 0 none, 1 one character, 2 two, 3 EOC-ended.
    int parameterKind() const { return m_kind; }
    bool paramEnabled() const { return m_commandIndex != 0 && m_kind != 0; }
    // Longest parameter text; 0 when unlimited.
    int paramMaxLength() const;

    // A typed key: letters upper-cased; the apostrophe and control characters other than
    // Backspace and Enter refused.
    KeyOutcome key(char c) const;
    // A new field text (typed or pasted): upper-cased, refused characters dropped, cut to the
    // entry length. False when characters had to be dropped (the field beeps).
    bool setParamText(std::string_view text);
    const std::string& paramText() const { return m_param; }

    bool paramValid() const;
    bool okEnabled() const { return paramValid() && !m_caption.empty(); }

    // Ok: fills the key from the caption, the list entry and the parameter. False, with the
    // key untouched, when Ok is disabled or the entry's code cannot be read (the dialog then
    // shows kConversionError).
    bool fill(lmx::TKeyDefinition& key, std::string_view entry) const;

private:
    std::string m_caption;
    int m_commandIndex = 0;
    int m_kind = 0;
    std::string m_param;
};

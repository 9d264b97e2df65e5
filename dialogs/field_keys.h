#pragma once
// Which typed characters a parameter field takes. Every dialog field filters its keystrokes
// through one of these classes; a refused key beeps and leaves the field unchanged.

#include <string>
#include <string_view>

enum class KeyClass {
    Text,        // any character but the apostrophe
    ByteCommand, // as Text, letters turned to upper case
    Hex,         // letters to upper case; Backspace, Enter, 0-9, A-F
    Decimal,     // Backspace, Enter, 0-9
    HexEntry,    // letters to upper case; Backspace, blank, 0-9, A-F (Enter refused)
};

// Control characters as a key press delivers them.
namespace keychar {
constexpr char Backspace = '\b';
constexpr char Enter = '\r';
} // namespace keychar

struct KeyOutcome {
    bool accepted = false;
    char ch = 0; // the character to insert (upper-cased where the class asks for it)
};

KeyOutcome filterKey(KeyClass keyClass, char c);

// Text as it would look had every character been typed: letters upper-cased where the class
// asks for it. Used for pasted text, which never passes the key filter.
std::string normalisedForClass(KeyClass keyClass, std::string_view text);
// `after`, an edit of `before` (typed or pasted), with only the characters the edit brought
// in normalised: what the field held before stays exactly as it was.
std::string normalisedEdit(KeyClass keyClass, std::string_view before, std::string_view after);
// True when every character of `text` would have passed the key filter (Backspace and Enter
// never stand in a field's text, so they do not count as allowed here).
bool onlyAllowedCharacters(KeyClass keyClass, std::string_view text);

// ASCII upper case only: the digits and letters of hex and decimal values.
char upperAscii(char c);

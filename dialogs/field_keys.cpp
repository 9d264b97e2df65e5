#include "field_keys.h"

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isUpperHexLetter(char c)
{
    return c >= 'A' && c <= 'F';
}

bool upperCases(KeyClass keyClass)
{
    return keyClass != KeyClass::Text && keyClass != KeyClass::Decimal;
}

// The characters a field's text may hold, after upper-casing.
bool allowedInText(KeyClass keyClass, char c)
{
    switch (keyClass) {
    case KeyClass::Text:
    case KeyClass::ByteCommand: return c != '\'';
    case KeyClass::Hex: return isDigit(c) || isUpperHexLetter(c);
    case KeyClass::Decimal: return isDigit(c);
    case KeyClass::HexEntry: return c == ' ' || isDigit(c) || isUpperHexLetter(c);
    }
    return false;
}

} // namespace

char upperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

KeyOutcome filterKey(KeyClass keyClass, char c)
{
    const char typed = upperCases(keyClass) ? upperAscii(c) : c;
    switch (keyClass) {
    case KeyClass::Text:
    case KeyClass::ByteCommand:
        return {typed != '\'', typed};
    case KeyClass::Hex:
    case KeyClass::Decimal:
        if (typed == keychar::Backspace || typed == keychar::Enter)
            return {true, typed};
        return {allowedInText(keyClass, typed), typed};
    case KeyClass::HexEntry:
        // Enter beeps here too; the field confirms on the key's release.
        if (typed == keychar::Backspace)
            return {true, typed};
        return {allowedInText(keyClass, typed), typed};
    }
    return {};
}

std::string normalisedForClass(KeyClass keyClass, std::string_view text)
{
    std::string out(text);
    if (upperCases(keyClass))
        for (char& c : out)
            c = upperAscii(c);
    return out;
}

std::string normalisedEdit(KeyClass keyClass, std::string_view before, std::string_view after)
{
    size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix
           && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const size_t added = after.size() - prefix - suffix;
    std::string out(after);
    out.replace(prefix, added, normalisedForClass(keyClass, after.substr(prefix, added)));
    return out;
}

bool onlyAllowedCharacters(KeyClass keyClass, std::string_view text)
{
    for (char c : text)
        if (!allowedInText(keyClass, c))
            return false;
    return true;
}

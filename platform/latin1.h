#pragma once
// Byte strings of the logic as Qt text: every byte one Latin-1 character, as the files and
// the line carry them.

#include <QString>

#include <string_view>

inline QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

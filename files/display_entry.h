#pragma once
// The network number field of the display settings dialog: what it takes while the user
// types, and the number a text stands for.

#include <string_view>

namespace lmx {

constexpr int kNetNrEntryLength = 2;

// Digits with an optional leading sign, at most two characters (a sign alone or an empty
// field is allowed while typing).
bool isNetNrEntryText(std::string_view text);

// The network number a field text gives: a number outside 0..32 is brought to the nearer
// limit; a text that is not a number counts as 0.
int netNrOfEntry(std::string_view text);

} // namespace lmx

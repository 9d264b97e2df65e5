#include "display_entry.h"

#include "settings.h"

#include <algorithm>

namespace lmx {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool isNetNrEntryText(std::string_view text)
{
    if (text.size() > static_cast<size_t>(kNetNrEntryLength))
        return false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        text.remove_prefix(1);
    return std::all_of(text.begin(), text.end(), isDigit);
}

int netNrOfEntry(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), isDigit))
        return 0;
    long long value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, TDisplaySettings::kMinNetNr,
                                                  TDisplaySettings::kMaxNetNr));
}

} // namespace lmx

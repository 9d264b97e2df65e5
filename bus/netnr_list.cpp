#include "netnr_list.h"

#include <algorithm>

namespace lmx {

namespace {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Decimal digits only; longer texts than any network number are not numbers either.
bool readNumber(std::string_view s, int& value)
{
    s = trimmed(s);
    if (s.empty() || s.size() > 6)
        return false;
    value = 0;
    for (const char c : s) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

} // namespace

NetNrList parseNetNrList(std::string_view text, int low, int high)
{
    NetNrList list;
    const std::string range = std::to_string(low) + ".." + std::to_string(high);
    auto fail = [&](const std::string& why) {
        list.numbers.clear();
        list.error = why;
        return list;
    };
    if (trimmed(text).empty())
        return fail("no network number given");
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view part = trimmed(text.substr(start, comma - start));
        start = comma + 1;
        const size_t dash = part.find('-');
        int first = 0;
        int last = 0;
        const bool read = dash == std::string_view::npos
                ? readNumber(part, first) && readNumber(part, last)
                : readNumber(part.substr(0, dash), first) && readNumber(part.substr(dash + 1), last);
        if (part.empty())
            return fail("an empty place between two commas");
        if (!read)
            return fail("'" + std::string(part) + "' is neither a network number nor a range such as 1-12");
        for (const int n : {first, last})
            if (n < low || n > high)
                return fail("network number " + std::to_string(n) + " is outside " + range);
        if (first > last)
            return fail("the range " + std::string(part) + " runs backwards; write "
                        + std::to_string(last) + "-" + std::to_string(first));
        for (int n = first; n <= last; ++n) {
            if (std::find(list.numbers.begin(), list.numbers.end(), n) != list.numbers.end())
                return fail("network number " + std::to_string(n) + " is named twice");
            list.numbers.push_back(n);
        }
    }
    return list;
}

} // namespace lmx

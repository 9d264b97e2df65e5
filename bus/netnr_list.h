#pragma once
// A list of network numbers as the user writes it: numbers and ranges separated by commas,
// "1-12,18", blanks allowed around each part. The numbers keep the order they were written
// in; a number named twice is refused, as it would send the same list twice.

#include <string>
#include <string_view>
#include <vector>

namespace lmx {

struct NetNrList {
    std::vector<int> numbers;
    std::string error; // why the text is not a list, in words; empty when it is one

    bool ok() const { return error.empty(); }
};

NetNrList parseNetNrList(std::string_view text, int low = 0, int high = 255);

} // namespace lmx

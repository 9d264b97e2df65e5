#pragma once
// How the serial debug window shows bytes: eight to a line, as hex ("01 05 30 ") and as
// characters ("\x01 \x05 0 "), line feed and carriage return both shown as the character 0xAC.

#include <string>
#include <string_view>
#include <vector>

namespace lmx {

struct DebugViewLine {
    std::string hex;   // Latin-1
    std::string chars; // Latin-1
};

constexpr size_t kDebugBytesPerLine = 8;
// Each list of the window keeps this many lines; older ones go.
constexpr int kDebugListMaxLines = 1000;

std::vector<DebugViewLine> debugViewLines(std::string_view bytes);

} // namespace lmx

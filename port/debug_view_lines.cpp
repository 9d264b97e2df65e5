#include "debug_view_lines.h"

#include "protocol/hex.h"

namespace lmx {

std::vector<DebugViewLine> debugViewLines(std::string_view bytes)
{
    std::vector<DebugViewLine> lines;
    lines.reserve(bytes.size() / kDebugBytesPerLine + 1);
    DebugViewLine line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<uint8_t>(bytes[i]);
        line.hex += byteToHex(byte);
        line.hex += ' ';
        line.chars += byte == 0x0A || byte == 0x0D ? '\xAC' : static_cast<char>(byte);
        line.chars += ' ';
        if ((i + 1) % kDebugBytesPerLine == 0) {
            lines.push_back(std::move(line));
            line = DebugViewLine();
        }
    }
    if (!line.hex.empty())
        lines.push_back(std::move(line));
    return lines;
}

} // namespace lmx

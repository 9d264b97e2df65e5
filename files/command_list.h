#pragma once
// A command box line as the files see it: plain data, no widget.

#include <cstdint>
#include <string>

namespace lmx {

// Indent in pixels of a line at block depth d: 2 + 8 * d.
constexpr int kBaseIndent = 2;
constexpr int kIndentStep = 8;
constexpr int indentOfDepth(int depth) { return kBaseIndent + kIndentStep * depth; }
// The number of enclosing blocks of a line with that indent (never below 0).
constexpr int depthOfIndent(int indent)
{
    return indent > kBaseIndent ? (indent - kBaseIndent) / kIndentStep : 0;
}

struct CommandListLine {
    std::string displayText;
    std::string commandLine;
    int indent = kBaseIndent;
    uint32_t fontColour = 0;

    bool operator==(const CommandListLine& o) const
    {
        return displayText == o.displayText && commandLine == o.commandLine
            && indent == o.indent && fontColour == o.fontColour;
    }
};

bool isEndLine(const CommandListLine& line);

} // namespace lmx

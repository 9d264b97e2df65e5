#pragma once
// The attributes every line of a numbered list box carries: its data string, font, colours
// and indent. Plain data, so the logic that builds lines needs no window; the list box
// measures the font itself when it lays the line out.

#include <cstdint>
#include <cstring>
#include <string>

namespace fontstyle {
constexpr unsigned Bold = 1;
constexpr unsigned Italic = 2;
constexpr unsigned Underline = 4;
constexpr unsigned StrikeOut = 8;
} // namespace fontstyle

struct TLBItem {
    std::string data;             // the command line in the command box
    // Held by every line alike: a name with static storage rather than a copy per line.
    const char* fontName = "";
    int fontSize = 8;             // points
    unsigned fontStyle = 0;       // fontstyle:: bits
    uint32_t fontColour = 0x000000;       // 0xRRGGBB
    uint32_t backgroundColour = 0xFFFFFF; // used while the line is not selected
    int indent = 0;               // pixels before the text

    bool operator==(const TLBItem& o) const
    {
        return data == o.data && std::strcmp(fontName, o.fontName) == 0 && fontSize == o.fontSize
            && fontStyle == o.fontStyle && fontColour == o.fontColour
            && backgroundColour == o.backgroundColour && indent == o.indent;
    }
    bool operator!=(const TLBItem& o) const { return !(*this == o); }
};

#pragma once
// The word wrap of the numbered list box, without a window: where a line's text breaks for a
// given number of characters per line, and how tall the wrapped line is.

#include <array>
#include <string>
#include <string_view>
#include <vector>

// Most pixels a list line may be tall, and so the most a line is ever drawn down to.
constexpr int kMaxLineHeight = 255;

// Pixel width of each of the 256 Latin-1 characters in one font.
using CharWidths = std::array<double, 256>;

// Returns `text` with CR LF inserted where it breaks so that each piece is at most `width`
// pixels wide in a font with these character widths: a piece ends at its last break point
// before the next character would no longer fit. Blanks, tabs and hyphens are break points;
// text between double quotes is never broken (apostrophes are ordinary characters); a CR LF
// already in the text is kept as a break; a word wider than `width` is cut where it no longer
// fits (a piece always keeps its first character).
std::string wordWrap(std::string_view text, const CharWidths& widths, double width);

// The same at `wrapWidth` characters per line, every character one column wide: a piece holds
// at most wrapWidth - 1 characters, so a longer word is cut into pieces of wrapWidth - 1.
std::string wordWrap(std::string_view text, int wrapWidth);

// The pieces of a wrapped text, split at every CR LF (without the CR LF).
std::vector<std::string_view> wrappedPieces(std::string_view wrapped);

// Number of pieces of a wrapped text: one more than its CR LF pairs.
int pieceCount(std::string_view wrapped);

// Height in pixels of a list line showing `text`: its pieces times the text line height, plus
// 2 when the box draws frames; never above kMaxLineHeight.
int wrappedLineHeight(std::string_view text, const CharWidths& widths, double width,
                      int lineHeight, bool drawLines);
int wrappedLineHeight(std::string_view text, int wrapWidth, int lineHeight, bool drawLines);

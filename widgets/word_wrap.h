#pragma once
// The word wrap of the numbered list box, without a window: where a line's text breaks for a
// given number of characters per line, and how tall the wrapped line is.

#include <string>
#include <string_view>
#include <vector>

// Most pixels a list line may be tall, and so the most a line is ever drawn down to.
constexpr int kMaxLineHeight = 255;

// Returns `text` with CR LF inserted where it breaks at `wrapWidth` characters per line.
// Blanks, tabs and hyphens are break points; text between double quotes is never broken
// (apostrophes are ordinary characters); a CR LF already in the text is kept as a break; a
// word longer than wrapWidth - 1 characters is cut into pieces of wrapWidth - 1.
std::string wordWrap(std::string_view text, int wrapWidth);

// The pieces of a wrapped text, split at every CR LF (without the CR LF).
std::vector<std::string_view> wrappedPieces(std::string_view wrapped);

// Number of pieces of a wrapped text: one more than its CR LF pairs.
int pieceCount(std::string_view wrapped);

// Height in pixels of a list line showing `text`: its pieces times the text line height, plus
// 2 when the box draws frames; never above kMaxLineHeight.
int wrappedLineHeight(std::string_view text, int wrapWidth, int lineHeight, bool drawLines);

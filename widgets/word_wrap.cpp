#include "word_wrap.h"

#include <algorithm>

namespace {

bool isBreakChar(char c)
{
    return c == ' ' || c == '\t' || c == '-';
}

bool isSkippedAfterBreak(char c)
{
    return isBreakChar(c) || c == '\r' || c == '\n';
}

} // namespace

std::string wordWrap(std::string_view text, int wrapWidth)
{
    // Positions are 1-based as in the description of the algorithm; at(p) is the p-th
    // character. Text is Latin-1, so there are no double-byte characters to step over.
    const long long len = static_cast<long long>(text.size());
    auto at = [&](long long p) { return text[static_cast<size_t>(p - 1)]; };
    auto append = [&](std::string& out, long long from, long long to) {
        if (to >= from)
            out.append(text.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1)));
    };

    const long long m = static_cast<long long>(wrapWidth) - 1;
    long long column = 1;
    long long pos = 1;
    long long pieceStart = 1;
    long long breakPos = 0;
    bool inQuotes = false;
    bool existingBreak = false;
    std::string out;
    out.reserve(text.size() + text.size() / 8);

    while (pos <= len) {
        const char c = at(pos);
        if (c == '\r' && pos < len && at(pos + 1) == '\n' && !inQuotes) {
            existingBreak = true;
            ++pos;
            breakPos = pos;
        } else if (isBreakChar(c) && !inQuotes) {
            breakPos = pos;
        } else if (c == '"') {
            inQuotes = !inQuotes;
        }
        ++pos;
        ++column;

        if (!inQuotes && !existingBreak && column > m && breakPos <= pieceStart)
            breakPos = pieceStart + m - 1;

        if (!inQuotes && (existingBreak || (column > m && breakPos > pieceStart))) {
            append(out, pieceStart, breakPos);
            column = pos - breakPos;
            if (c != '"')
                while (pos <= len && isSkippedAfterBreak(at(pos)))
                    ++pos;
            if (!existingBreak && pos < len)
                out += "\r\n";
            pieceStart = breakPos + 1;
            existingBreak = false;
        }
    }
    append(out, pieceStart, len);
    return out;
}

std::vector<std::string_view> wrappedPieces(std::string_view wrapped)
{
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (;;) {
        const size_t crlf = wrapped.find("\r\n", start);
        if (crlf == std::string_view::npos) {
            pieces.push_back(wrapped.substr(start));
            return pieces;
        }
        pieces.push_back(wrapped.substr(start, crlf - start));
        start = crlf + 2;
    }
}

int pieceCount(std::string_view wrapped)
{
    int count = 1;
    for (size_t p = wrapped.find("\r\n"); p != std::string_view::npos; p = wrapped.find("\r\n", p + 2))
        ++count;
    return count;
}

int wrappedLineHeight(std::string_view text, int wrapWidth, int lineHeight, bool drawLines)
{
    // A text that never reaches the last column and holds no line break is one piece: most
    // lines, measured without wrapping them.
    const bool onePiece = static_cast<long long>(text.size()) + 2 <= wrapWidth
                       && text.find('\r') == std::string_view::npos;
    const long long height = static_cast<long long>(onePiece ? 1 : pieceCount(wordWrap(text, wrapWidth)))
            * std::max(lineHeight, 0) + (drawLines ? 2 : 0);
    return static_cast<int>(std::min<long long>(height, kMaxLineHeight));
}

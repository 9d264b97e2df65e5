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

// Every character one column wide.
struct ColumnMeasure {
    double span(long long from, long long to) const { return static_cast<double>(to - from + 1); }
};

// The characters' pixel widths, summed up front so that any run is measured at once.
class PixelMeasure {
public:
    PixelMeasure(std::string_view text, const CharWidths& widths) : m_sums(text.size() + 1, 0.0)
    {
        for (size_t i = 0; i < text.size(); ++i)
            m_sums[i + 1] = m_sums[i] + widths[static_cast<unsigned char>(text[i])];
    }
    double span(long long from, long long to) const
    {
        return m_sums[static_cast<size_t>(to)] - m_sums[static_cast<size_t>(from - 1)];
    }

private:
    std::vector<double> m_sums;
};

// Sums of pixel widths are compared with this much room for rounding.
constexpr double kSlack = 1e-6;

template <class Measure>
std::string wrap(std::string_view text, const Measure& measure, double width)
{
    // Positions are 1-based as in the description of the algorithm; at(p) is the p-th
    // character. Text is Latin-1, so there are no double-byte characters to step over.
    const long long len = static_cast<long long>(text.size());
    auto at = [&](long long p) { return text[static_cast<size_t>(p - 1)]; };
    auto append = [&](std::string& out, long long from, long long to) {
        if (to >= from)
            out.append(text.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1)));
    };
    // The piece from `start` is full when the character at `next` would no longer fit.
    auto full = [&](long long start, long long next) {
        return next <= len && measure.span(start, next) > width + kSlack;
    };
    // The last position of the widest piece from `start` that fits (at least its first one).
    auto lastFitting = [&](long long start) {
        long long p = start;
        while (p < len && measure.span(start, p + 1) <= width + kSlack)
            ++p;
        return p;
    };

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

        const bool pieceFull = !inQuotes && !existingBreak && full(pieceStart, pos);
        if (pieceFull && breakPos <= pieceStart)
            breakPos = lastFitting(pieceStart);

        if (!inQuotes && (existingBreak || (pieceFull && breakPos > pieceStart))) {
            append(out, pieceStart, breakPos);
            bool hyphenSkipped = false;
            if (c != '"')
                while (pos <= len && isSkippedAfterBreak(at(pos)))
                    hyphenSkipped |= at(pos++) == '-';
            // Whatever visible follows goes on the next line, even a single character: the
            // line is full.
            if (!existingBreak && (pos <= len || hyphenSkipped))
                out += "\r\n";
            pieceStart = breakPos + 1;
            existingBreak = false;
        }
    }
    append(out, pieceStart, len);
    return out;
}

int heightOf(int pieces, int lineHeight, bool drawLines)
{
    const long long height = static_cast<long long>(pieces) * std::max(lineHeight, 0) + (drawLines ? 2 : 0);
    return static_cast<int>(std::min<long long>(height, kMaxLineHeight));
}

} // namespace

std::string wordWrap(std::string_view text, const CharWidths& widths, double width)
{
    return wrap(text, PixelMeasure(text, widths), width);
}

std::string wordWrap(std::string_view text, int wrapWidth)
{
    return wrap(text, ColumnMeasure(), static_cast<double>(wrapWidth) - 1);
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

int wrappedLineHeight(std::string_view text, const CharWidths& widths, double width,
                      int lineHeight, bool drawLines)
{
    // A text that fits whole and holds no line break is one piece: most lines, measured
    // without wrapping them.
    double total = 0;
    for (char c : text)
        total += widths[static_cast<unsigned char>(c)];
    const bool onePiece = total <= width + kSlack && text.find('\r') == std::string_view::npos;
    return heightOf(onePiece ? 1 : pieceCount(wordWrap(text, widths, width)), lineHeight, drawLines);
}

int wrappedLineHeight(std::string_view text, int wrapWidth, int lineHeight, bool drawLines)
{
    const bool onePiece = static_cast<long long>(text.size()) + 1 <= wrapWidth
                       && text.find('\r') == std::string_view::npos;
    return heightOf(onePiece ? 1 : pieceCount(wordWrap(text, wrapWidth)), lineHeight, drawLines);
}

// The word wrap: any text at any width ends, only inserts CR LF pairs, and measures within
// the line height limit. (An inserted pair may stand next to a CR or LF of the text, so the
// check counts the characters instead of matching pairs.)
#include "widgets/word_wrap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string withoutCrLf(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != '\r' && c != '\n')
            out += c;
    return out;
}

long count(const std::string& s, char c)
{
    return static_cast<long>(std::count(s.begin(), s.end(), c));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int width = static_cast<int8_t>(data[0]);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string wrapped = wordWrap(text, width);
    const long inserted = count(wrapped, '\r') - count(text, '\r');
    if (withoutCrLf(wrapped) != withoutCrLf(text) || inserted < 0
        || count(wrapped, '\n') - count(text, '\n') != inserted
        || wrapped.size() != text.size() + 2 * static_cast<size_t>(inserted))
        std::abort();
    std::string joined;
    for (std::string_view piece : wrappedPieces(wrapped))
        joined += piece;
    if (withoutCrLf(joined) != withoutCrLf(text)
        || static_cast<int>(wrappedPieces(wrapped).size()) != pieceCount(wrapped))
        std::abort();
    const int height = wrappedLineHeight(text, width, 13, true);
    if (height < 0 || height > kMaxLineHeight)
        std::abort();
    return 0;
}

#include "transmission_cutter.h"

#include "protocol/hex.h"
#include "protocol/vocabulary.h"

#include <algorithm>

namespace lmx::cut {

namespace {

constexpr char kSot = static_cast<char>(code::SOT);
constexpr char kEot = static_cast<char>(code::EOT);
constexpr char kFpack = static_cast<char>(code::FPACK);
constexpr char kNpack = static_cast<char>(code::NPACK);

// Where the break line at `at` ends; a cut-off break ends with the bytes.
size_t breakEnd(std::string_view bytes, size_t at)
{
    return std::min(at + kBreakSize, bytes.size());
}

// Calls piece(begin, end) for every piece of the series between its FPACK lines, and
// fpack(at) for every FPACK, in order.
template <typename Piece, typename Fpack>
void walkForcedBreaks(std::string_view series, Piece piece, Fpack fpack)
{
    size_t start = 0;
    for (;;) {
        const size_t at = series.find(kFpack, start);
        piece(start, at == std::string_view::npos ? series.size() : at);
        if (at == std::string_view::npos)
            return;
        fpack(at);
        start = breakEnd(series, at);
    }
}

} // namespace

bool isBreakByte(char c)
{
    return c == kFpack || c == kNpack;
}

std::string buildStream(const std::vector<std::string>& commandLines)
{
    size_t count = commandLines.size();
    if (count > 0 && commandLines.back() == kEndMarker)
        --count;
    std::string stream;
    for (size_t i = 0; i < count; ++i) {
        const std::string& line = commandLines[i];
        // Only the editor's marker in front goes; raw bytes 09 and 10 inside a line are data.
        const bool marked = !line.empty()
            && (line[0] == static_cast<char>(code::KEY) || line[0] == static_cast<char>(code::HEX));
        stream.append(line, marked ? 1 : 0, std::string::npos);
    }
    return stream;
}

void removeLeadingBreaks(std::string& bytes)
{
    size_t n = 0;
    while (n < bytes.size() && isBreakByte(bytes[n]))
        n = breakEnd(bytes, n);
    bytes.erase(0, n);
}

void collapseBreakRuns(std::string& bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        if (!isBreakByte(bytes[i])) {
            ++i;
            continue;
        }
        bool fpackSeen = false;
        bool npackSeen = false;
        while (i < bytes.size() && isBreakByte(bytes[i])) {
            bool& seen = bytes[i] == kFpack ? fpackSeen : npackSeen;
            if (seen) {
                bytes.erase(i, kBreakSize);
            } else {
                seen = true;
                i = breakEnd(bytes, i);
            }
        }
    }
}

int breakWait(std::string_view bytes, size_t at)
{
    long long value = 0;
    if (at >= bytes.size() || !decToInt(bytes.substr(at + 1, kBreakSize - 1), value))
        return 0;
    return static_cast<int>(value);
}

bool onlyBreaks(std::string_view bytes, int& npackWait)
{
    npackWait = 0;
    bool npackSeen = false;
    for (size_t at = 0; at < bytes.size(); at = breakEnd(bytes, at)) {
        if (!isBreakByte(bytes[at]))
            return false;
        if (bytes[at] == kNpack && !npackSeen) {
            npackSeen = true;
            npackWait = breakWait(bytes, at);
        }
    }
    return true;
}

Block takeBlock(std::string& stream)
{
    Block block;
    const size_t sot = stream.find(kSot);
    if (sot == std::string::npos) {
        block.kind = Block::Kind::Unaddressed;
        block.bytes.swap(stream);
        stream.clear();
    } else if (sot == 0) {
        const size_t eot = stream.find(kEot, 1);
        if (eot == std::string::npos) {
            block.kind = Block::Kind::Unterminated;
        } else {
            block.kind = Block::Kind::Addressed;
            block.bytes = stream.substr(1, eot - 1);
            stream.erase(0, eot + 1);
        }
    } else {
        block.kind = Block::Kind::Before;
        block.bytes = stream.substr(0, sot);
        stream.erase(0, sot);
    }
    return block;
}

bool takeNetworkNumber(std::string& block, int& netNr)
{
    uint8_t value = 0;
    if (block.size() < 2 || !hexToByte(std::string_view(block).substr(0, 2), value))
        return false;
    netNr = value;
    block.erase(0, 2);
    return true;
}

Series takeSeries(std::string& block, bool streamEmpty)
{
    Series series;
    const size_t npack = block.find(kNpack);
    if (npack == std::string::npos) {
        series.bytes.swap(block);
        block.clear();
        return series;
    }
    series.bytes = block.substr(0, npack);
    series.wait = breakWait(block, npack);
    block.erase(0, breakEnd(block, npack));
    if (block.empty() && streamEmpty)
        series.wait = 0; // nothing follows that could wait for it
    return series;
}

int countPackets(std::string_view series, size_t packetSize)
{
    int count = 0;
    walkForcedBreaks(
        series,
        [&](size_t begin, size_t end) {
            count += static_cast<int>((end - begin + packetSize - 1) / packetSize);
        },
        [](size_t) {});
    return count;
}

std::string withoutForcedBreaks(std::string_view series)
{
    std::string out;
    out.reserve(series.size());
    walkForcedBreaks(
        series, [&](size_t begin, size_t end) { out.append(series.substr(begin, end - begin)); },
        [](size_t) {});
    return out;
}

int lastForcedBreakWait(std::string_view series)
{
    int wait = 0;
    walkForcedBreaks(
        series, [](size_t, size_t) {}, [&](size_t at) { wait = breakWait(series, at); });
    return wait;
}

Chunk nextChunk(std::string& series, size_t packetSize)
{
    Chunk chunk;
    const size_t fpack = series.find(kFpack);
    if (fpack == std::string::npos || fpack > packetSize) {
        chunk.bytes = series.substr(0, packetSize);
        series.erase(0, chunk.bytes.size());
    } else {
        chunk.bytes = series.substr(0, fpack);
        chunk.answerWait = breakWait(series, fpack);
        series.erase(0, breakEnd(series, fpack));
    }
    if (chunk.bytes.empty())
        chunk.answerWait = 0;
    return chunk;
}

} // namespace lmx::cut

// The transmission cutter on any command lines, cut into blocks, series and packets as the
// extended transmission cuts them when every answer is good: each series goes out in packets
// of at most the packet size, as many as it counted, carrying every byte of the series but
// its FPACK lines exactly once and in order.
#include "fuzz_support.h"

#include "transmission/transmission_cutter.h"

#include <string>
#include <vector>

using namespace lmx;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    const size_t packetSize = 2 + in.byte() % 239;
    std::vector<std::string> lines;
    while (!in.empty())
        lines.push_back(in.bytes(in.byte()));
    std::string stream = cut::buildStream(lines);
    cut::removeLeadingBreaks(stream);
    cut::collapseBreakRuns(stream);
    while (!stream.empty()) {
        cut::Block block = cut::takeBlock(stream);
        const bool addressed = block.kind == cut::Block::Kind::Addressed;
        int netNr = 0;
        int npackWait = 0;
        if (block.kind == cut::Block::Kind::Unterminated
            || (addressed && (block.bytes.empty() || !cut::takeNetworkNumber(block.bytes, netNr))))
            return 0; // the transmission ends here
        if (!addressed && cut::onlyBreaks(block.bytes, npackWait))
            continue;
        while (!block.bytes.empty()) {
            cut::removeLeadingBreaks(block.bytes);
            cut::Series series = cut::takeSeries(block.bytes, stream.empty());
            const int count = cut::countPackets(series.bytes, packetSize);
            if (count == 0)
                return 0; // "No packets transmitted."
            const std::string whole = cut::withoutForcedBreaks(series.bytes);
            std::string sent;
            if (count == 1 && whole.size() <= packetSize)
                sent = whole;
            else
                for (int k = 0; k < count; ++k) {
                    cut::removeLeadingBreaks(series.bytes);
                    check(!series.bytes.empty()); // never the empty-string error
                    const cut::Chunk chunk = cut::nextChunk(series.bytes, packetSize);
                    check(!chunk.bytes.empty() && chunk.bytes.size() <= packetSize);
                    sent += chunk.bytes;
                }
            check(sent == whole);
        }
    }
    return 0;
}

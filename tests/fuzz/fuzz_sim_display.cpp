// The virtual display's packet reader and content parser on any bytes, handed over in reads
// cut at any points: where the reads are cut never changes the frames, the content's result
// (and the replies of a sound series) or what the display holds; a sound extended packet
// frames again to its bytes.
#include "fuzz_support.h"

#include "protocol/framing.h"
#include "sim/content_parser.h"
#include "sim/packet_reader.h"

#include <string>
#include <string_view>
#include <vector>

using namespace lmx;
using fuzz::check;

namespace {

bool same(const sim::Frame& a, const sim::Frame& b)
{
    return a.kind == b.kind && a.raw == b.raw && a.netNr == b.netNr && a.packetNr == b.packetNr
        && a.data == b.data && a.framingCode == b.framingCode && a.reason == b.reason;
}

bool same(const sim::DisplayState& a, const sim::DisplayState& b, std::time_t now)
{
    return a.texts == b.texts && a.settings == b.settings && a.configuration == b.configuration
        && a.memoryUsed == b.memoryUsed && a.clockText(now) == b.clockText(now);
}

void append(std::vector<sim::Frame>& to, std::vector<sim::Frame> frames)
{
    to.insert(to.end(), frames.begin(), frames.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    const uint8_t flags = in.byte();
    const bool normal = flags & 1;
    const std::string bytes = in.rest();
    // The reads: lengths from a small generator the first byte seeds.
    std::vector<std::string_view> reads;
    uint32_t r = flags;
    for (size_t at = 0; at < bytes.size();) {
        r = r * 1103515245u + 12345u;
        const size_t n = std::min<size_t>(1 + (r >> 16) % 64, bytes.size() - at);
        reads.push_back(std::string_view(bytes).substr(at, n));
        at += n;
    }

    sim::PacketReader whole(normal), cut(normal);
    std::vector<sim::Frame> a = whole.feed(bytes, 0);
    std::vector<sim::Frame> b;
    for (std::string_view piece : reads)
        append(b, cut.feed(piece, 0));
    append(a, whole.expire(1000000));
    append(b, cut.expire(1000000));
    check(a.size() == b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        check(same(a[i], b[i]));
        if (a[i].kind == sim::Frame::Kind::Packet && a[i].framingCode == sim::framing_code::Ok) {
            check(a[i].data.size() <= sim::kMaxPacketData);
            check(normal || buildExtendedPacket(a[i].netNr, a[i].packetNr, a[i].data) == a[i].raw);
        }
    }

    // The same bytes as the content of one series.
    const std::time_t now = 1700000000;
    sim::DisplayState shown, shownCut;
    sim::ContentParser parser, parserCut;
    const sim::ContentParser::Result result = parser.feed(bytes, shown, now);
    const uint8_t code = result.code ? result.code : parser.endOfSeries();
    std::string reply;
    uint8_t codeCut = 0;
    for (size_t i = 0; i < reads.size() && codeCut == 0; ++i) {
        const sim::ContentParser::Result part = parserCut.feed(reads[i], shownCut, now);
        reply += part.reply;
        codeCut = part.code;
    }
    codeCut = codeCut ? codeCut : parserCut.endOfSeries();
    // A packet that faults answers with the fault alone, so the inquiry replies of a series
    // compare only when it is sound.
    check(code == codeCut && (code != 0 || result.reply == reply) && same(shown, shownCut, now));
    return 0;
}

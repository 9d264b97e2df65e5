// Framing and parsing cost per packet.
#include "protocol/answer.h"
#include "protocol/framing.h"
#include "protocol/hex.h"

#include <benchmark/benchmark.h>

namespace {

void BM_FramePacket240(benchmark::State& state)
{
    std::string data;
    for (int i = 0; i < 240; ++i)
        data += static_cast<char>(i);
    for (auto _ : state) {
        auto packet = lmx::buildExtendedPacket(0x12, 0xC5, data);
        benchmark::DoNotOptimize(packet);
    }
}
BENCHMARK(BM_FramePacket240);

// A 214-character answer: 15 framing characters and 199 data characters.
std::string longestAnswer()
{
    std::string covered = "\x06" "01FE00C7" "0001" + std::string(195, 'D');
    return "\x01" + covered + lmx::toHex(lmx::crc16(covered), 4) + "\x04";
}

void BM_ParseAnswer214(benchmark::State& state)
{
    const std::string answer = longestAnswer();
    if (answer.size() != 214 || !lmx::parseExtendedAnswer(answer, 1, 0).ok) {
        state.SkipWithError("answer does not parse");
        return;
    }
    for (auto _ : state) {
        auto p = lmx::parseExtendedAnswer(answer, 1, 0);
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_ParseAnswer214);

} // namespace

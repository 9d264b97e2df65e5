#pragma once
// Shared by the virtual display's tests: packets as a client frames them, and a device fed
// the way the server feeds it.

#include "sim/sim_device.h"

#include "protocol/answer.h"
#include "protocol/framing.h"

#include <string>
#include <string_view>
#include <vector>

namespace lmx::sim::testing {

inline std::string packet(int netNr, int packetNr, std::string_view data)
{
    return *buildExtendedPacket(netNr, packetNr, data);
}

// Everything one call wrote, joined.
inline std::string joined(const std::vector<TimedWrite>& writes)
{
    std::string all;
    for (const auto& w : writes)
        all += w.bytes;
    return all;
}

inline SimOptions optionsFor(std::vector<uint8_t> netNrs, bool normal = false)
{
    SimOptions o;
    o.netNrs = std::move(netNrs);
    o.normalFraming = normal;
    o.wallClock = [] { return std::time_t(1700000000); };
    return o;
}

// The result code a device's answer to `bytes` carries; -1 without an answer, -2 when the
// answer does not parse.
inline int resultOf(SimDevice& device, const std::string& bytes, uint8_t netNr, uint8_t packetNr,
                    int64_t nowMs = 0)
{
    const std::string answer = joined(device.receive(bytes, nowMs));
    if (answer.empty())
        return -1;
    const AnswerParse p = parseExtendedAnswer(answer, netNr, packetNr);
    if (!p.ok)
        return -2;
    const AnswerParse d = parseAnswerData(p.data);
    return d.ok ? d.errorCode : -2;
}

} // namespace lmx::sim::testing

#pragma once
// The packets a transmission will send if every answer is good, worked out before the first
// one goes: the same cut as the engine's (transmission_cutter.h), so the progress can say
// "Packet k of n", a packet can be traced back to the command lines it came from, and the
// display blocks are known for the per-block report even where a transmission never got to
// them.

#include "packet_observer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lmx {

struct PlannedPacket {
    std::string packet; // the bytes as they go out
    int netNr = 0;
    uint8_t packetNr = 0;
    size_t dataLength = 0;
    size_t block = 0;       // index into TransmissionPlan::blocks
    std::vector<int> lines; // the command lines whose bytes it carries, ascending
};

struct PlannedBlock {
    int netNr = 0;
    int number = 0;  // this is the number-th block to its network number, from 1
    int packets = 0; // 0: a normal-framing block that is not sent (empty or too long)
};

struct TransmissionPlan {
    std::vector<PlannedPacket> packets;
    std::vector<PlannedBlock> blocks;
};

TransmissionPlan planTransmission(const TransmissionStart& start);

} // namespace lmx

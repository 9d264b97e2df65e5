#pragma once
// Builds answer packets the way a display does, for round trips through the parser.

#include "protocol/framing.h"
#include "protocol/hex.h"

#include <string>

namespace lmx::testing {

inline std::string buildAnswer(int netNr, int packetNr, const std::string& data)
{
    std::string covered = "\x06";
    covered += byteToHex(static_cast<uint8_t>(netNr));
    covered += byteToHex(static_cast<uint8_t>(netNr ^ 0xFF));
    covered += byteToHex(static_cast<uint8_t>(packetNr));
    covered += byteToHex(static_cast<uint8_t>(data.size()));
    covered += data;
    return "\x01" + covered + toHex(crc16(covered), 4) + "\x04";
}

} // namespace lmx::testing

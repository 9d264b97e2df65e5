#pragma once
// Builds answer packets the way a display does, for round trips through the parser.

#include "protocol/framing.h"
#include "protocol/hex.h"

#include <string>

namespace lmx::testing {

inline std::string buildAnswer(int netNr, int packetNr, const std::string& data,
                               int invertedNetNr = -1, int dataLength = -1)
{
    if (invertedNetNr < 0)
        invertedNetNr = netNr ^ 0xFF;
    if (dataLength < 0)
        dataLength = static_cast<int>(data.size());
    std::string covered = "\x06";
    covered += byteToHex(static_cast<uint8_t>(netNr));
    covered += byteToHex(static_cast<uint8_t>(invertedNetNr));
    covered += byteToHex(static_cast<uint8_t>(packetNr));
    covered += byteToHex(static_cast<uint8_t>(dataLength));
    covered += data;
    const uint16_t crc = crc16(covered);
    return "\x01" + covered + toHex(crc, 4) + "\x04";
}

} // namespace lmx::testing

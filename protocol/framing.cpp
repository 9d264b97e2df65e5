#include "framing.h"

#include "hex.h"

namespace lmx {

void crcStep(uint8_t byte, uint16_t& reg)
{
    reg ^= static_cast<uint16_t>(byte << 8);
    for (int i = 0; i < 8; ++i) {
        if (reg & 0x8000)
            reg = static_cast<uint16_t>((reg << 1) ^ 0x1021);
        else
            reg = static_cast<uint16_t>(reg << 1);
    }
}

uint16_t crc16(std::string_view bytes, uint16_t reg)
{
    for (char c : bytes)
        crcStep(static_cast<uint8_t>(c), reg);
    return reg;
}

uint8_t packetNumberOf(int k, int count)
{
    const auto sequence = static_cast<uint8_t>(k & kSequenceMask);
    if (k == 0)
        return kFirstOfSeries + sequence;
    if (k == count - 1)
        return kLastOfSeries + sequence;
    return kMiddleOfSeries + sequence;
}

std::optional<std::string> buildExtendedPacket(int netNr, int packetNr, std::string_view data)
{
    if (netNr < 0 || netNr > 255 || packetNr < 0 || packetNr > 255 || data.size() > 255)
        return std::nullopt;
    std::string packet;
    packet.reserve(data.size() + 14);
    packet += '\x01';
    packet += '\x05';
    packet += byteToHex(static_cast<uint8_t>(netNr));
    packet += byteToHex(static_cast<uint8_t>(netNr ^ 0xFF));
    packet += byteToHex(static_cast<uint8_t>(packetNr));
    packet += byteToHex(static_cast<uint8_t>(data.size()));
    packet += data;
    const uint16_t crc = crc16(std::string_view(packet).substr(1));
    packet += byteToHex(static_cast<uint8_t>(crc >> 8));
    packet += byteToHex(static_cast<uint8_t>(crc & 0xFF));
    packet += '\x04';
    return packet;
}

std::optional<std::string> buildNormalPacket(int netNr, std::string_view data)
{
    if (netNr < 0 || netNr > 255)
        return std::nullopt;
    std::string packet;
    packet.reserve(data.size() + 4);
    packet += '\x01';
    packet += byteToHex(static_cast<uint8_t>(netNr));
    packet += data;
    packet += '\x04';
    return packet;
}

} // namespace lmx

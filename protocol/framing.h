#pragma once
// Packet framing: the CRC-16 and the two packet builders.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lmx {

// One CRC-16 step: polynomial 0x1021, most significant bit first, no reflection, no final
// XOR. Start the register at 0 (CRC-16/XMODEM).
void crcStep(uint8_t byte, uint16_t& reg);
uint16_t crc16(std::string_view bytes, uint16_t reg = 0);

// Packet number bits 6 and 7: where the packet stands in its series.
constexpr uint8_t kFirstOfSeries = 0x40;
constexpr uint8_t kMiddleOfSeries = 0xC0;
constexpr uint8_t kLastOfSeries = 0x80;
constexpr uint8_t kSequenceMask = 0x3F;

// The packet number of packet k of a series of `count` packets (count > 1).
uint8_t packetNumberOf(int k, int count);

// Extended packet: 01 05, network number, its inverse, packet number and data length as hex
// text, the data, the CRC as four hex digits, 04. Refuses (nullopt) a network number, packet
// number or data length above 255 rather than truncating.
std::optional<std::string> buildExtendedPacket(int netNr, int packetNr, std::string_view data);

// Normal packet: 01, the network number as two hex digits, the data, 04. Refuses a network
// number outside 0..255.
std::optional<std::string> buildNormalPacket(int netNr, std::string_view data);

} // namespace lmx

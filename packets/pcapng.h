#pragma once
// The blocks of a pcapng capture file, as Wireshark and tcpdump read them: the section
// header, an interface description per port and an enhanced packet block per frame. Every
// field is written little-endian whatever the machine, so a file is the same byte for byte
// everywhere; texts are UTF-8 and every block and option is padded to 32 bits.

#include <cstdint>
#include <string>
#include <string_view>

namespace lmx::pcapng {

constexpr uint32_t kSectionHeaderType = 0x0A0D0D0A;
constexpr uint32_t kInterfaceDescriptionType = 0x00000001;
constexpr uint32_t kEnhancedPacketType = 0x00000006;
constexpr uint32_t kByteOrderMagic = 0x1A2B3C4D;

// The frames hold the bytes of the line exactly as they went over it, nothing added:
// LINKTYPE_USER0, for which the dissector registers itself (wireshark/lmx.lua).
constexpr uint16_t kLinkTypeLmx = 147;

// epb_flags: the direction in bits 0..1, the link-layer errors in bits 24..31.
constexpr uint32_t kInbound = 0x00000001;
constexpr uint32_t kOutbound = 0x00000002;
constexpr uint32_t kCrcError = 0x01000000;

// Option codes.
constexpr uint16_t kOptEnd = 0;
constexpr uint16_t kOptComment = 1;
constexpr uint16_t kShbUserAppl = 4;
constexpr uint16_t kIfName = 2;
constexpr uint16_t kIfDescription = 3;
constexpr uint16_t kIfTsresol = 9;
constexpr uint16_t kEpbFlags = 2;

// The section header of a capture written as it goes (its length is left unknown).
// userAppl: the program that wrote it, with its version.
std::string sectionHeaderBlock(std::string_view userAppl);

struct Interface {
    std::string name;        // if_name: the port as the user names it
    std::string description; // if_description: its line settings
    uint16_t linkType = kLinkTypeLmx;
};

// Time stamps in microseconds (if_tsresol 6), no limit on the bytes kept per frame.
std::string interfaceDescriptionBlock(const Interface& interface);

struct Packet {
    uint32_t interfaceId = 0;  // the interface's place among the section's descriptions
    int64_t timestampUs = 0;   // since 1970-01-01 UTC
    std::string_view bytes;
    uint32_t flags = 0;        // epb_flags; 0 leaves the option out
    std::string comment;       // opt_comment; empty leaves the option out
};

std::string enhancedPacketBlock(const Packet& packet);

} // namespace lmx::pcapng

#include "pcapng.h"

namespace lmx::pcapng {

namespace {

void put16(std::string& out, uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void put32(std::string& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

void pad32(std::string& out)
{
    while (out.size() % 4 != 0)
        out += '\0';
}

void option(std::string& body, uint16_t code, std::string_view value)
{
    // An option value longer than 65535 bytes cannot be told; a comment is cut there.
    const std::string_view v = value.substr(0, 0xFFFF);
    put16(body, code);
    put16(body, static_cast<uint16_t>(v.size()));
    body.append(v.data(), v.size());
    pad32(body);
}

void endOfOptions(std::string& body)
{
    put16(body, kOptEnd);
    put16(body, 0);
}

// Type, total length, body, total length again; the body is already padded.
std::string block(uint32_t type, const std::string& body)
{
    const auto total = static_cast<uint32_t>(body.size() + 12);
    std::string out;
    out.reserve(total);
    put32(out, type);
    put32(out, total);
    out += body;
    put32(out, total);
    return out;
}

} // namespace

std::string sectionHeaderBlock(std::string_view userAppl)
{
    std::string body;
    put32(body, kByteOrderMagic);
    put16(body, 1); // major version
    put16(body, 0); // minor version
    put32(body, 0xFFFFFFFF); // section length: not known while the file grows
    put32(body, 0xFFFFFFFF);
    if (!userAppl.empty()) {
        option(body, kShbUserAppl, userAppl);
        endOfOptions(body);
    }
    return block(kSectionHeaderType, body);
}

std::string interfaceDescriptionBlock(const Interface& interface)
{
    std::string body;
    put16(body, interface.linkType);
    put16(body, 0); // reserved
    put32(body, 0); // snap length: no limit
    if (!interface.name.empty())
        option(body, kIfName, interface.name);
    if (!interface.description.empty())
        option(body, kIfDescription, interface.description);
    option(body, kIfTsresol, std::string_view("\x06", 1)); // 10^-6 s
    endOfOptions(body);
    return block(kInterfaceDescriptionType, body);
}

std::string enhancedPacketBlock(const Packet& packet)
{
    const uint64_t ts = packet.timestampUs > 0 ? static_cast<uint64_t>(packet.timestampUs) : 0;
    const auto length = static_cast<uint32_t>(packet.bytes.size());
    std::string body;
    put32(body, packet.interfaceId);
    put32(body, static_cast<uint32_t>(ts >> 32));
    put32(body, static_cast<uint32_t>(ts & 0xFFFFFFFF));
    put32(body, length); // captured
    put32(body, length); // on the line
    body.append(packet.bytes.data(), packet.bytes.size());
    pad32(body);
    const bool options = !packet.comment.empty() || packet.flags != 0;
    if (!packet.comment.empty())
        option(body, kOptComment, packet.comment);
    if (packet.flags != 0) {
        std::string flags;
        put32(flags, packet.flags);
        option(body, kEpbFlags, flags);
    }
    if (options)
        endOfOptions(body);
    return block(kEnhancedPacketType, body);
}

} // namespace lmx::pcapng

#pragma once
// Reads a pcapng file back block by block, as a capture reader would, so a test checks what
// was written rather than how: each block's type and length (both copies), the options and
// their padding, the enhanced packets' fields.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pcapngtest {

inline uint32_t le32(std::string_view s, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(s[at + static_cast<size_t>(i)]);
    return v;
}

inline uint16_t le16(std::string_view s, size_t at)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8);
}

struct Option {
    uint16_t code = 0;
    std::string value;
};

struct Block {
    uint32_t type = 0;
    std::string body; // between the two lengths
    bool wellFormed = false; // the lengths agree, cover the block and keep 32-bit alignment
};

// The blocks in order; reading stops at the first one that does not fit the bytes.
inline std::vector<Block> readBlocks(std::string_view file)
{
    std::vector<Block> blocks;
    size_t at = 0;
    while (at + 12 <= file.size()) {
        Block b;
        b.type = le32(file, at);
        const uint32_t length = le32(file, at + 4);
        if (length < 12 || at + length > file.size())
            break;
        b.wellFormed = length % 4 == 0 && le32(file, at + length - 4) == length;
        b.body = std::string(file.substr(at + 8, length - 12));
        blocks.push_back(b);
        at += length;
    }
    return blocks;
}

// The options from `at` to opt_endofopt; `padded` is false when a value's padding is not
// zeros up to the next 32-bit boundary or the list has no end.
inline std::vector<Option> readOptions(std::string_view body, size_t at, bool* padded = nullptr)
{
    std::vector<Option> options;
    bool ok = false;
    while (at + 4 <= body.size()) {
        const uint16_t code = le16(body, at);
        const uint16_t length = le16(body, at + 2);
        if (code == 0) {
            ok = length == 0 && at + 4 == body.size();
            break;
        }
        const size_t padding = (4 - length % 4) % 4;
        if (at + 4 + length + padding > body.size())
            break;
        options.push_back({code, std::string(body.substr(at + 4, length))});
        if (body.substr(at + 4 + length, padding) != std::string(padding, '\0'))
            break;
        at += 4 + length + padding;
    }
    if (padded)
        *padded = ok;
    return options;
}

inline std::string optionValue(const std::vector<Option>& options, uint16_t code)
{
    for (const Option& o : options)
        if (o.code == code)
            return o.value;
    return {};
}

struct Packet {
    uint32_t interfaceId = 0;
    uint64_t timestampUs = 0;
    uint32_t capturedLength = 0;
    uint32_t originalLength = 0;
    std::string data;
    std::vector<Option> options;
    bool padded = false;
    uint32_t flags() const
    {
        const std::string v = optionValue(options, 2);
        return v.size() == 4 ? le32(v, 0) : 0;
    }
    std::string comment() const { return optionValue(options, 1); }
};

inline Packet readPacket(const Block& b)
{
    Packet p;
    p.interfaceId = le32(b.body, 0);
    p.timestampUs = uint64_t(le32(b.body, 4)) << 32 | le32(b.body, 8);
    p.capturedLength = le32(b.body, 12);
    p.originalLength = le32(b.body, 16);
    p.data = b.body.substr(20, p.capturedLength);
    const size_t optionsAt = 20 + (p.capturedLength + 3) / 4 * 4;
    const bool padding = b.body.substr(20 + p.capturedLength, optionsAt - 20 - p.capturedLength)
                         == std::string(optionsAt - 20 - p.capturedLength, '\0');
    p.padded = padding;
    if (optionsAt < b.body.size()) {
        bool optionsPadded = false;
        p.options = readOptions(b.body, optionsAt, &optionsPadded);
        p.padded = padding && optionsPadded;
    }
    return p;
}

// Every enhanced packet of a file.
inline std::vector<Packet> readPackets(std::string_view file)
{
    std::vector<Packet> packets;
    for (const Block& b : readBlocks(file))
        if (b.type == 6)
            packets.push_back(readPacket(b));
    return packets;
}

} // namespace pcapngtest

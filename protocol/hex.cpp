#include "hex.h"

#include <limits>

namespace lmx {

namespace {

const char kDigits[] = "0123456789ABCDEF";

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string byteToHex(uint8_t value)
{
    return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string toHex(long long value, int digits)
{
    std::string out(static_cast<size_t>(digits > 0 ? digits : 0), '0');
    auto bits = static_cast<unsigned long long>(value);
    for (int i = digits - 1; i >= 0; --i) {
        out[static_cast<size_t>(i)] = kDigits[bits & 0x0F];
        bits >>= 4;
    }
    return out;
}

bool hexToInt(std::string_view text, long long& value)
{
    if (text.empty())
        return false;
    unsigned long long v = 0;
    for (char c : text) {
        int d = hexDigit(c);
        if (d < 0)
            return false;
        if (v > (static_cast<unsigned long long>(std::numeric_limits<long long>::max()) >> 4))
            return false;
        v = (v << 4) | static_cast<unsigned>(d);
    }
    value = static_cast<long long>(v);
    return true;
}

bool hexToByte(std::string_view text, uint8_t& value)
{
    long long v = 0;
    if (text.size() != 2 || !hexToInt(text, v))
        return false;
    value = static_cast<uint8_t>(v);
    return true;
}

bool hexToWord(std::string_view text, uint16_t& value)
{
    long long v = 0;
    if (text.size() != 4 || !hexToInt(text, v))
        return false;
    value = static_cast<uint16_t>(v);
    return true;
}

bool decToInt(std::string_view text, long long& value)
{
    if (text.empty())
        return false;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        if (v > (std::numeric_limits<long long>::max() - 9) / 10)
            return false;
        v = v * 10 + (c - '0');
    }
    value = v;
    return true;
}

bool decInRange(std::string_view text, long long min, long long max, long long& value)
{
    long long v = 0;
    if (text.size() > 9 || !decToInt(text, v) || v < min || v > max)
        return false;
    value = v;
    return true;
}

bool hexTextToBytes(std::string_view text, std::string& bytes)
{
    std::string digits;
    digits.reserve(text.size());
    for (char c : text)
        if (c != ' ')
            digits += c;
    if (digits.size() % 2 != 0)
        return false;
    std::string out;
    out.reserve(digits.size() / 2);
    for (size_t i = 0; i < digits.size(); i += 2) {
        int hi = hexDigit(digits[i]);
        int lo = hexDigit(digits[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out += static_cast<char>((hi << 4) | lo);
    }
    bytes = std::move(out);
    return true;
}

std::string hexTextOfCommandLine(std::string_view commandLine)
{
    if (commandLine == "<End>")
        return "<End>";
    if (!commandLine.empty() && (commandLine[0] == '\x09' || commandLine[0] == '\x10'))
        commandLine.remove_prefix(1);
    std::string out;
    out.reserve(commandLine.size() * 3);
    for (char c : commandLine) {
        out += byteToHex(static_cast<uint8_t>(c));
        out += ' ';
    }
    return out;
}

std::string normalisedHexText(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 3);
    for (char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += byteToHex(static_cast<uint8_t>(c));
    }
    return out;
}

} // namespace lmx

#pragma once
// Hex conversions shared by the whole program. Every reader returns success instead of
// throwing; nothing here allocates more than its result.

#include <cstdint>
#include <string>
#include <string_view>

namespace lmx {

// A byte as two upper-case hex digits with a leading zero ("0A").
std::string byteToHex(uint8_t value);

// value as exactly `digits` upper-case hex digits; wider values keep their low digits, so a
// negative value comes out as its two's complement (-1 with 3 digits is "FFF").
std::string toHex(long long value, int digits);

// Reads `text` as hex (digits 0-9, A-F in either case, nothing else, at least one digit).
bool hexToInt(std::string_view text, long long& value);
// Two characters to a byte and four characters to a 16-bit value; shorter or longer text,
// or text that is not hex, fails.
bool hexToByte(std::string_view text, uint8_t& value);
bool hexToWord(std::string_view text, uint16_t& value);
// Reads `text` as a decimal number (digits only, at least one).
bool decToInt(std::string_view text, long long& value);
// The same for a number given on a command line: at most 9 digits, within [min, max].
bool decInRange(std::string_view text, long long min, long long max, long long& value);

// Hex text as entered ("22 33 aa") to bytes: blanks removed, an even number of hex digits
// in either case. Fails on odd length or a pair that is not hex; empty text gives empty bytes.
bool hexTextToBytes(std::string_view text, std::string& bytes);

// The hex box text of a command line: "<End>" stays "<End>"; a leading key prefix 0x09 or
// HEX prefix 0x10 is dropped; every other byte becomes two digits and one blank.
std::string hexTextOfCommandLine(std::string_view commandLine);

// Bytes as blank-separated upper-case pairs without a trailing blank ("A0 FF").
std::string normalisedHexText(std::string_view bytes);

} // namespace lmx

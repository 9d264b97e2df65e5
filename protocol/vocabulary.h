#pragma once
// The Lmx command vocabulary: control codes, escape commands, how each kind of command box
// line is stored (its command line bytes) and shown (its display text).

#include <cstdint>
#include <string>
#include <string_view>

namespace lmx {

// Control codes: the first byte of a command line.
namespace code {
constexpr uint8_t SOT = 0x01;   // start of display block, + 2 hex digits
constexpr uint8_t STX = 0x02;   // start of message block, + 2 hex digits
constexpr uint8_t ETX = 0x03;
constexpr uint8_t EOT = 0x04;
constexpr uint8_t FPACK = 0x07; // forced packet break, + 5 decimal digits
constexpr uint8_t NPACK = 0x08; // end of packet series, + 5 decimal digits
constexpr uint8_t KEY = 0x09;   // editor marker: escape command bound to a key
constexpr uint8_t SOL = 0x0A;   // start of line block, + 2 hex digits
constexpr uint8_t EOC = 0x0C;   // end of an EOC-type escape command
constexpr uint8_t EOL = 0x0D;
constexpr uint8_t SOP = 0x0E;   // start of page block, + 2 hex digits
constexpr uint8_t EOP = 0x0F;
constexpr uint8_t HEX = 0x10;   // editor marker: raw bytes entered in hex
constexpr uint8_t ESC = 0x1B;
constexpr uint8_t SEP = 0x1E;
} // namespace code

// Escape command bytes with a name of their own.
namespace esc {
constexpr uint8_t Delete = 0x80;
constexpr uint8_t Font = 0xA0;
constexpr uint8_t Color = 0xA1;
constexpr uint8_t HorSize = 0xA2;
constexpr uint8_t OutLine = 0xA3;
constexpr uint8_t Flash = 0xA4;
constexpr uint8_t Enable = 0xA5;
constexpr uint8_t Inquiry = 0xA6;
constexpr uint8_t VertSize = 0xA7;
constexpr uint8_t Appear = 0xC0;
constexpr uint8_t DisAppear = 0xC1;
constexpr uint8_t VertPos = 0xC4;
constexpr uint8_t Pause = 0xC6;
constexpr uint8_t Sound = 0xC7;
constexpr uint8_t BTable = 0xE0;
constexpr uint8_t WatchDog = 0xE1;
constexpr uint8_t HorPos = 0xE2;
constexpr uint8_t ConfDisplay = 0xE4;
constexpr uint8_t LedTest = 0xE5;
constexpr uint8_t TimeDate = 0xE6;
} // namespace esc

// Display text and command line of the end marker, the last line of every list.
inline constexpr std::string_view kEndMarker = "<End>";

// Longest display text and command line a list line keeps.
constexpr size_t kLineSizeLimit = 1333;

// How many parameter characters follow an escape command byte.
enum class ParamKind {
    Illegal, // 0x00..0x7F: not an escape command
    None,    // 0x80..0x9F
    One,     // 0xA0..0xBF: exactly one character
    Two,     // 0xC0..0xDF: exactly two characters
    Eoc,     // 0xE0..0xFF: one or more characters, then 0x0C
};
ParamKind paramKindOf(uint8_t commandByte);

// Fixed parameter lengths of the EOC-type commands that have one. Returns false when the
// command accepts any length of at least one character.
bool hasFixedEocSize(uint8_t commandByte);
bool isValidEocSize(uint8_t commandByte, size_t length);

// The escape name lookup: 1..4 give "ESC Inquiry1".."ESC Inquiry4", named commands their
// name ("ESC Font"), every other value "ESC $" and two upper-case hex digits.
std::string escapeName(unsigned value);

// Block kinds, outermost first.
enum class BlockKind { Display = 0, Message = 1, Page = 2, Line = 3 };
inline constexpr BlockKind kBlockKinds[] = {BlockKind::Display, BlockKind::Message,
                                            BlockKind::Page, BlockKind::Line};

struct BlockInfo {
    const char* startTag;      // "SOT"
    const char* endTag;        // "EOT"
    uint8_t startByte;
    uint8_t endByte;
    const char* numberCaption; // caption of the number dialog
};
const BlockInfo& blockInfo(BlockKind kind);

// Font colour (0xRRGGBB) of a line, chosen from the start of its display text.
uint32_t fontColourOf(std::string_view displayText);
constexpr uint32_t kBackgroundColour = 0xFFFFFF;

// One line of a command list: what the box shows and the bytes it contributes.
struct CommandEntry {
    std::string displayText;
    std::string commandLine;
    bool operator==(const CommandEntry& o) const
    {
        return displayText == o.displayText && commandLine == o.commandLine;
    }
};

// Cuts a line to kLineSizeLimit display characters when 3 x display length - 1 exceeds 4000.
// A text, a HEX text or an escape parameter is cut inside its apostrophes, with the same
// bytes cut from the command line (a HEX text at a whole byte pair), so the line is written
// and read back as it stands; a line of any other form is cut at 1333 characters in both.
// Returns true when it cut.
bool applyLineSizeLimit(std::string& displayText, std::string& commandLine);

// Builders of every kind of line.
CommandEntry endLine();
CommandEntry textLine(std::string_view text);
CommandEntry blockStartLine(BlockKind kind, std::string_view digits);
CommandEntry blockEndLine(BlockKind kind);
CommandEntry separatorLine();
// FPACK (newSeries false) or NPACK (true); the wait as five decimal digits.
CommandEntry breakLine(bool newSeries, std::string_view fiveDigits);
std::string waitDigits(long long ms); // 250 -> "00250"
// hexText is shown as entered; bytes are what it converts to.
CommandEntry hexLine(std::string_view hexText, std::string_view bytes);
// An escape command with its parameter: name from the lookup, the parameter in apostrophes
// when there is one, " EOC" and the 0x0C byte for 0xE0..0xFF.
CommandEntry escapeLine(uint8_t commandByte, std::string_view param);
// Inquiry 1..4: 1B A6 and the digit, shown by name only.
CommandEntry inquiryLine(int number);
// An escape command bound to a key: 09 in front of the command line, "ESC " + key name
// in place of the command's name.
CommandEntry keyLine(std::string_view keyName, uint8_t commandByte, std::string_view param);

// A signed parameter as two's complement hex digits: -1 with 3 digits is "FFF", -128 with 2
// digits is "80".
std::string signedParam(int value, int digits);

} // namespace lmx

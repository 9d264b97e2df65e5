#pragma once
// Interprets the content a display receives: text, block markers, separators and escape
// commands. Content may be cut across packets at any byte, so the parser keeps a command that
// is cut short and goes on with it in the next packet.

#include "display_state.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace lmx::sim {

// Display result codes for content a display cannot accept.
namespace content_code {
constexpr uint8_t Ok = 0x00;
constexpr uint8_t InvalidControl = 0x10;  // unknown control byte or a block marker out of place
constexpr uint8_t InvalidHexDec = 0x11;   // a parameter character that is not a digit
constexpr uint8_t InvalidBlockNr = 0x12;  // a message, page or line number above 100
constexpr uint8_t InvalidCommand = 0x13;  // an escape command byte no display knows
constexpr uint8_t InvalidTextChar = 0x14; // a text byte 0x7F..0x9F
constexpr uint8_t OutOfRange = 0x15;      // a parameter value outside the command's range
constexpr uint8_t MemoryFull = 0x16;
constexpr uint8_t FormatError = 0x17;     // wrong parameter length, or a command cut off
} // namespace content_code

// Highest message, page and line number.
constexpr int kMaxBlockNumber = 100;

// Answer data of the four inquiries.
inline constexpr const char* kVersionText = "Orvanta virtual display 1.0";

class ContentParser {
public:
    struct Result {
        uint8_t code = content_code::Ok;
        std::string reply; // inquiry answers, in the order asked
    };

    // Interprets one packet's data and applies it to `display` as it goes. Stops at the first
    // fault and returns its code; what came before it stays applied.
    Result feed(std::string_view data, DisplayState& display, std::time_t wallNow);
    // The series has ended: a command cut short is a format error.
    uint8_t endOfSeries();
    // Forgets open blocks and a partial command, as after a fault.
    void reset();

    BlockPath openBlock() const;

private:
    enum class State { Text, EscByte, EscParam, BlockNumber, BreakDigits };

    uint8_t takeByte(uint8_t c, DisplayState& display, std::time_t wallNow, std::string& reply);
    uint8_t controlByte(uint8_t c, DisplayState& display);
    uint8_t blockNumberDone(DisplayState& display);
    uint8_t escapeDone(DisplayState& display, std::time_t wallNow, std::string& reply);

    State m_state = State::Text;
    uint8_t m_code = 0;     // the command or marker being read
    std::string m_param;    // its parameter characters so far
    int m_message = -1;
    int m_page = -1;
    int m_line = -1;
};

// Checks the parameter text of an escape command. Returns 0, InvalidHexDec, OutOfRange or
// FormatError (wrong length). The inquiry, the delete and unknown commands are not settings
// and give InvalidCommand here.
uint8_t checkSettingParam(uint8_t command, std::string_view param);

} // namespace lmx::sim

#pragma once
// Answer packets: the extended answer parser, the answer data, the one-character normal
// answer, and the texts the transmission reports them with. Each parse returns its whole
// outcome; nothing is kept between parses.

#include <cstdint>
#include <string>
#include <string_view>

namespace lmx {

// Where a parse stopped; the error message names it.
enum class AnswerState : uint8_t {
    Sot = 0,
    Ack = 1,
    NetworkNr = 2,
    InvertedNetworkNr = 3,
    PacketNr = 4,
    DataLength = 5,
    Data = 6,
    Crc = 7,
    Eot = 8,
    Ready = 9,
    Answer = 10,
    Param = 11,
};

// Local parse errors; display result codes are 0x00..0x18.
namespace answer_error {
constexpr uint8_t InvalidPacket = 0x20;
constexpr uint8_t WrongNetNr = 0x21;
constexpr uint8_t InvalidSequence = 0x22;
constexpr uint8_t InvalidSize = 0x23;
// 0x24, an invalid character, has its result text but no check raises it.
constexpr uint8_t InvalidCrc = 0x25;
constexpr uint8_t Incomplete = 0x26;
constexpr uint8_t InvalidHex = 0x27;
constexpr uint8_t UnknownAckParam = 0x28;
// More came than any answer can be (kMaxAnswerBytes): a line that streams noise.
constexpr uint8_t TooLong = 0x29;
} // namespace answer_error

// The parser never looks past this many received characters.
constexpr size_t kMaxAnswerExamined = 255;
// The most an answer wait keeps of what arrives. The largest answer is 215 characters (200
// data); the margin leaves room for the tail of a late answer before it. Whatever comes
// beyond is dropped, and a received answer this long that does not parse is "too long".
constexpr size_t kMaxAnswerBytes = 512;

struct AnswerParse {
    bool ok = false;        // the parse succeeded (for answer data: the result code was read)
    uint8_t errorCode = 0;  // 0, a local error 0x20..0x29, or the display's result code
    AnswerState state = AnswerState::Sot;
    std::string data;       // extended answer: the answer data
    std::string paramText;  // answer data: "$" + characters 3-4
    bool answerOk() const { return errorCode == 0; }
};

// Walks `received` (at most kMaxAnswerExamined characters) against the expected network
// number and packet number (compared on bits 0..5). Succeeds only in state Ready; an answer
// of kMaxAnswerBytes or more that fails, fails as TooLong in the state the walk reached.
AnswerParse parseExtendedAnswer(std::string_view received, uint8_t netNr, uint8_t packetNr);

// Result code and acknowledge parameter of the answer data. A non-zero result code is a
// successful parse whose errorCode is that result code.
AnswerParse parseAnswerData(std::string_view data);

// The result code table, for display codes and local errors alike.
std::string resultText(unsigned code);
std::string stateName(AnswerState state);
// "Error text" of a parse: the result text of its error code.
inline std::string errorText(const AnswerParse& p) { return resultText(p.errorCode); }

struct NormalAnswer {
    bool ok = false;        // the parse succeeded
    char resultChar = '\0'; // '/' for an unanswered broadcast, '.' for no answer
    bool answerOk() const { return resultChar == '0' || resultChar == '/'; }
};

// An empty answer to network number 0 is a broadcast ('/', success); an empty answer to
// any other number fails with '.'; otherwise the first character is the result.
NormalAnswer parseNormalAnswer(std::string_view received, uint8_t netNr);
std::string normalResultText(char resultChar);

} // namespace lmx

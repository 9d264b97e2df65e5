#pragma once
// What a virtual display is told at start: which network numbers it answers as, which framing
// it speaks and which fault it puts into its answers.

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lmx::sim {

// Faults of the answer the display sends; the display's own checks are never affected.
enum class FaultKind {
    None,
    NoAnswer,   // stay silent
    BadCrc,     // the CRC characters do not match
    WrongNetNr, // another display's network number (and its matching inverse)
    WrongSeq,   // packet number bits 0..5 off by one
    BadLength,  // data length field 03, with three data characters
    Truncated,  // cut inside the CRC field, no end byte
    Garbage,    // the start byte, noise, the end byte: no acknowledge byte
    Split,      // a valid answer in two writes with a pause between them
    Slow,       // a valid answer that arrives only after a delay
    Code,       // a valid answer carrying a chosen result code
    Cycle,      // each hit the next of the kinds above, so one run meets them all
};

// What the line brings back of the client's own bytes, as a 2-wire RS-485 adapter hears
// its own transmission.
enum class EchoKind {
    Off,
    Faithful, // every byte received goes back at once, before any answer
    Spoiled,  // the same, but the byte after each start byte 01 comes back changed, as a
              // collision on the bus would leave it
};

struct SimOptions {
    std::vector<uint8_t> netNrs{1}; // the displays this stand-in answers as (1..255)
    bool normalFraming = false;     // one result character instead of an answer packet
    FaultKind fault = FaultKind::None;
    uint8_t faultCode = 0;          // the result code of FaultKind::Code
    unsigned faultEvery = 1;        // the fault hits every Nth answer
    // Set: the fault hits each answer with this probability (0..1) instead, drawn from a
    // generator seeded with faultSeed, so that a seed gives the same answers every time.
    std::optional<double> faultRate;
    uint64_t faultSeed = 1;
    unsigned slowDelayMs = 1500;    // beyond the client's 1000 ms answer time-out
    unsigned splitPauseMs = 100;    // longer than the client's 50 ms receive poll
    unsigned dropAfterMs = 300;     // silence after which an incomplete packet is given up
    size_t recordLimit = 100000;    // packets kept for packets(); older ones are forgotten
    // The pace of the line in bits per second, 10 bits per byte: bytes reach the display
    // (and its answers the client) only when a line at this rate would have carried them.
    // 0: at once.
    unsigned lineRate = 0;
    EchoKind echo = EchoKind::Off;
    // The wall clock the display's own clock runs on; the system clock when empty.
    std::function<std::time_t()> wallClock;
};

// "bad-crc" and the like; "code=NN" for FaultKind::Code.
std::string faultName(FaultKind kind, uint8_t code = 0);
// Reads a fault as written on the command line. Returns false for an unknown kind or a code
// that is not one or two hex digits.
bool parseFault(std::string_view text, FaultKind& kind, uint8_t& code);
// A probability written as a decimal fraction 0..1 ("0.05", "1", ".5"); false for anything
// else.
bool parseFaultRate(std::string_view text, double& rate);

// The normal framing has no packet around its answer: only silence, noise, delay and a chosen
// result character can go wrong there. A cycle keeps to those kinds there.
bool faultFitsNormalFraming(FaultKind kind);

// What FaultKind::Cycle goes through, in order: every kind that fits the framing. Its turn of
// FaultKind::Code takes the next of cycleCodes() each time, every failure the display itself
// can report.
const std::vector<FaultKind>& cycleKinds(bool normalFraming);
const std::vector<uint8_t>& cycleCodes();

} // namespace lmx::sim

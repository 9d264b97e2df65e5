#pragma once
// Builds the answers a display sends and puts the configured fault into them.

#include "sim_options.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace lmx::sim {

// Bytes to write after a pause, counted from the moment the packet was read (or, for the
// second part of a split answer, from the write before it).
struct TimedWrite {
    unsigned delayMs = 0;
    std::string bytes;
};

// 01 06, the network number, its inverse, the packet number and the data length as hex, the
// data, the CRC as four hex digits, 04. The fields are taken as given, so faulty answers can
// be built too.
std::string answerPacket(uint8_t netNr, uint8_t invertedNetNr, uint8_t packetNr,
                         uint8_t lengthField, std::string_view data, uint16_t crcXor = 0);
inline std::string answerPacket(uint8_t netNr, uint8_t packetNr, std::string_view data)
{
    return answerPacket(netNr, netNr ^ 0xFF, packetNr, static_cast<uint8_t>(data.size()), data);
}

// Result code, acknowledge parameter (1 when `reply` is not empty) and reply, as answer data.
std::string answerData(uint8_t resultCode, std::string_view reply);
// Longest reply an answer can carry: the data length field stops at 200.
constexpr size_t kMaxReply = 196;

// The normal framing's result character for a display result code; '\0' when there is none.
char normalResultChar(uint8_t resultCode);

// Noise the garbage fault sends: with the extended framing the start byte, then noise where
// the acknowledge byte belongs, then the end byte; with the normal framing letters that no
// result character starts with.
inline constexpr std::string_view kExtendedGarbage = "\x01?GARBAGE?\x04";
inline constexpr std::string_view kNormalGarbage = "xyz";

class FaultInjector {
public:
    explicit FaultInjector(const SimOptions& options);

    struct Plan {
        std::vector<TimedWrite> writes; // empty: silence
        bool faulted = false;           // the fault hit this answer
        FaultKind kind = FaultKind::None; // which fault it was, never Cycle
        uint8_t code = 0;                 // the result code of FaultKind::Code
    };

    // Every call counts as one answer for the every-Nth rule, or draws once for the rate.
    Plan extended(uint8_t netNr, uint8_t packetNr, std::string_view data);
    Plan normal(char resultChar);

private:
    // Counts the answer; when the fault hits it, marks the plan with the fault's kind.
    bool hitsNext(Plan& plan, bool normalFraming);

    const FaultKind m_kind;
    const uint8_t m_code;
    const unsigned m_every;
    const unsigned m_slowDelayMs;
    const unsigned m_splitPauseMs;
    const std::optional<double> m_rate;
    // The raw output of this generator is the same on every platform for a seed.
    std::mt19937_64 m_random;
    unsigned long long m_answers = 0;
    size_t m_cycleHits = 0;  // faults a cycle has put in so far
    size_t m_cycleCodes = 0; // of them, chosen result codes
};

} // namespace lmx::sim

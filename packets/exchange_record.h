#pragma once
// One packet exchange as it is shown and reported: what went out, what came back, how the
// answer was judged (in the words the receive box uses), how long it took; and the summary of
// many exchanges per display. Plain values: the recorder fills them, the Packets tab, the
// status bar and the report writers only read them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lmx {

struct ExchangeRecord {
    int index = 0;            // from 0, in the order the packets went out
    int64_t startedMs = 0;    // when the packet had been written, ms since the start
    int64_t writtenUs = 0;    // the same moment in microseconds since 1970 (UTC)
    std::optional<int64_t> answerUs; // when the first byte for it came, likewise
    bool extended = true;     // the framing
    int netNr = 0;
    uint8_t packetNr = 0;     // the packet number byte; 0 with the normal framing
    size_t dataLength = 0;
    int block = -1;           // index into the plan's blocks; -1 when it is not known
    std::vector<int> lines;   // the command lines whose bytes the packet carried
    std::string sent;         // the packet's bytes
    std::string answer;       // everything received for it
    bool evaluated = false;   // the answer has been judged (false while it is awaited)

    bool ok = false;          // answered as it should be (a broadcast needs no answer)
    // "OK" when the answer passed every check, the failed check ("Invalid answer CRC at
    // CRC"), "no answer" when nothing came, "Error" for a failing normal result character,
    // "stopped" when the transmission ended while the answer was awaited, "port lost" when
    // the port went away before the answer came or before the packet could go out.
    std::string state;
    std::optional<int> result; // extended: the display's result code of a well-formed answer
    char resultChar = '\0';    // normal: the result character ('/' broadcast, '.' nothing)
    std::string resultText;    // the words of the result code or character
    std::string param;         // extended: "$00" or "$01" as the answer carried it
    std::optional<double> rttMs; // last byte written to the answer's end byte
    // Last byte written to the exchange judged: the round trip, or as long as the answer was
    // waited for when it never came whole (a time-out, a stop, a lost port).
    std::optional<double> spentMs;
    std::string failure;       // why the exchange failed, in words; empty when ok
    // How often the packet's display block had been sent again when it went out: 0 the first
    // time, 1 after the port was lost once and reopened, ...
    int retry = 0;
};

// Judges rec.answer the way the transmission engine does and fills the fields from ok on
// (the round-trip time is the recorder's).
void evaluateAnswer(ExchangeRecord& rec);
// The exchange ended without an answer because the transmission stopped.
void markStopped(ExchangeRecord& rec);
// The exchange ended without an answer because the port went away; `why` in words.
void markPortLost(ExchangeRecord& rec, const std::string& why);
// The exchange failed on the line (packet_observer.h, lineFailed): whatever the answer was,
// the state says what happened and the exchange failed.
void markLineFailed(ExchangeRecord& rec, const std::string& state, const std::string& detail);

struct DisplaySummary {
    int netNr = 0;
    int packets = 0;
    int ok = 0;
    int failed = 0;
    std::string lastFailure;
    int timed = 0;        // exchanges with a round-trip time
    double rttSumMs = 0;
    double rttMaxMs = 0;

    std::optional<double> meanRttMs() const
    {
        return timed > 0 ? std::optional<double>(rttSumMs / timed) : std::nullopt;
    }
    std::optional<double> maxRttMs() const
    {
        return timed > 0 ? std::optional<double>(rttMaxMs) : std::nullopt;
    }
};

struct ExchangeSummary {
    int packets = 0;
    int ok = 0;
    int failed = 0;
    std::vector<DisplaySummary> displays; // in the order they were first addressed
};

// Judged exchanges only; one still awaited is not counted.
ExchangeSummary summarize(const std::vector<ExchangeRecord>& records);

} // namespace lmx

#pragma once
// What a bus scan sends and how it reads the answers. Every network number of the range gets
// the same probe, ESC Inquiry1 on its own in one packet: every display answers it, and it
// changes nothing the display shows. A number is listed when anything at all came back for
// it, but counts as a display only when a well-formed answer came from it: anything else
// (garbage, a torn or overlong answer, another display's late one) is listed as noise.

#include "packets/exchange_record.h"
#include "transmission/transmission_plan.h"

#include <optional>
#include <string>

namespace lmx {

constexpr int kScanFirstNetNr = 1;
constexpr int kScanLastNetNr = 254;
constexpr int kScanTimeoutMs = 200;
// Network number 0 is a broadcast that no display answers; the range starts at 1.
constexpr int kScanLowest = 1;
constexpr int kScanHighest = 255;
constexpr int kScanMinTimeoutMs = 10;
constexpr int kScanMaxTimeoutMs = 10000;

// The probe's data, and the probe as a packet of the framing: an extended packet with packet
// number 0, or with the normal framing a display block of its own (whose answer is one
// result character and carries no data).
std::string probeData();
std::string probePacket(int netNr, bool extended);
// One single-packet block per network number from `from` to `to`.
TransmissionPlan scanPlan(int from, int to, bool extended);

struct ScanAnswer {
    int netNr = 0;
    bool display = false;        // a well-formed answer from this number: a display is there
    bool ok = false;             // a sound answer that reported no failure
    // In the words of the receive box: "OK", "Param value out of range"; noise says so
    // first: "noise: Invalid answer CRC at CRC".
    std::string result;
    std::optional<double> rttMs; // empty when no end byte came
    std::string data;            // the reply the answer carried (extended framing only)
};

// The display's answer to the probe of `rec` (judged by the recorder); empty when nothing
// came back.
std::optional<ScanAnswer> scanAnswerOf(const ExchangeRecord& rec);

// "NetNr 17: OK (3.2 ms) data 52 65 61 64 79", one line per display that answered.
std::string scanLine(const ScanAnswer& answer);
// "3 displays answered"
std::string scanCountLine(int answered);
// "2 numbers gave noise, not counted as displays"
std::string scanNoiseLine(int noisy);

} // namespace lmx

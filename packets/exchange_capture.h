#pragma once
// One exchange as the frames of a capture: the packet as it went out, then what came for it,
// cut where the receive box's judgement cuts it: the answer, and apart from it every byte
// that made no answer (an echo of the packet, noise before the answer's start byte, anything
// after its end byte). Each frame carries the words the exchange was judged by.

#include "exchange_record.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lmx {

struct CaptureFrame {
    enum class Kind {
        Packet, // what we sent
        Answer, // the answer the receive box judged
        Stray,  // bytes that came but made no answer
    };
    Kind kind = Kind::Packet;
    int64_t timestampUs = 0; // the packet's write, or the first byte received for it
    std::string bytes;
    bool crcError = false;   // an answer whose CRC field does not match its bytes
    std::string comment;     // Latin-1

    // epb_flags: outbound or inbound, and the CRC error.
    uint32_t flags() const;
};

// Nothing for an exchange still awaited but the packet.
std::vector<CaptureFrame> captureFrames(const ExchangeRecord& rec);

// The exchange as the receive box judged it, after its address: "NetNr 3 packet 2: OK",
// "NetNr 3 packet 2: Error Invalid answer CRC at CRC", "NetNr 3 packet 2: Answer: Param value
// out of range Param : $00", "NetNr 2 packet 0: no answer"; with the normal framing
// "NetNr 3: OK.", "NetNr 3: Error: Invalid command.".
std::string exchangeVerdict(const ExchangeRecord& rec);

} // namespace lmx

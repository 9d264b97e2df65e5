#pragma once
// What a transmission tells whoever follows it packet by packet (the Packets tab, the
// progress in the status bar, the reports of lmx send). The engine calls it in this order:
// started, then for every packet that went out written and, unless the transmission was
// stopped or the port went away meanwhile, answered; portLost when the port went away in a
// transmission that had it open; ended once at the very end. Nothing here may start a
// transmission or wait.

#include <cstdint>
#include <string>
#include <vector>

namespace lmx {

enum class TransmissionEnd {
    Completed, // ran to its end
    Aborted,   // ended early by a rule
    Stopped,   // ended by a stop request (the window closed, Ctrl+C)
};

// How a transmission cuts its list, so the packets can be counted before the first one goes.
struct TransmissionStart {
    const std::vector<std::string>& commandLines; // as the engine was given them
    bool extended = true;
    int defaultNetNr = 0;
    size_t packetSize = 240;
};

class PacketObserver {
public:
    virtual ~PacketObserver() = default;
    virtual void transmissionStarted(const TransmissionStart& start) = 0;
    // The packet has been written to the port and its answer is awaited. packetNr is 0 with
    // the normal framing.
    virtual void packetWritten(const std::string& packet, int netNr, uint8_t packetNr) = 0;
    // The first bytes for the last packet written have come, at this moment; the answer is
    // still being collected. Not told when nothing comes.
    virtual void answerBegan() {}
    // Everything received for the last packet written (empty: nothing came), before the
    // engine reports or waits on it.
    virtual void answerReceived(const std::string& answer) = 0;
    // The port went away: while the last packet written awaited its answer (`packet` empty),
    // or between two exchanges, before `packet` could go out. `why` says so in words.
    virtual void portLost(const std::string& packet, int netNr, uint8_t packetNr,
                          const std::string& why) = 0;
    // The exchange of the last packet written failed on the line itself: its echo differed
    // from it ("bus collision") or did not come back whole ("no echo"), told after
    // answerReceived. `detail` says what happened, in words.
    virtual void lineFailed(const std::string& /*state*/, const std::string& /*detail*/) {}
    // The port came back after it was lost: the display block of the last packet written goes
    // out again from its first packet.
    virtual void blockSentAgain() {}
    virtual void transmissionEnded(TransmissionEnd end) = 0;
};

} // namespace lmx

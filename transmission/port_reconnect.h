#pragma once
// A port that went away during a transmission (a loose cable, a hub reset, a device server
// restarted) is tried again every 250 ms for up to the given seconds; the transmission then
// sends the display block in progress again from its first packet.

#include "platform/steady_clock.h"
#include "waiter.h"

#include <cstdint>
#include <functional>
#include <string>

namespace lmx {

struct ReconnectResult {
    bool reopened = false;
    int64_t elapsedMs = 0; // from the first pause to the try that reopened it (or the last)
};

constexpr int kReconnectIntervalMs = 250;

// Pauses kReconnectIntervalMs through the waiter, then tries; again until a try succeeds,
// `seconds` have passed on the clock, or seconds × 4 tries were made (a waiter that takes no
// time still ends), or stopped() says so after a pause.
ReconnectResult reconnectPort(const std::function<bool()>& tryOpen, Waiter& waiter,
                              const SteadyClock& clock, int seconds,
                              const std::function<bool()>& stopped);

// "Port lost; reopened after 1.2 s; block 3 sent again." (block from 1, in the list's order).
std::string portReopenedText(int64_t elapsedMs, int block);

} // namespace lmx

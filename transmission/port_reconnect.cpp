#include "port_reconnect.h"

namespace lmx {

ReconnectResult reconnectPort(const std::function<bool()>& tryOpen, Waiter& waiter,
                              const SteadyClock& clock, int seconds,
                              const std::function<bool()>& stopped)
{
    ReconnectResult result;
    const int64_t start = clock.nowMs();
    const int64_t tries = int64_t(seconds) * 1000 / kReconnectIntervalMs;
    for (int64_t n = 0; n < tries; ++n) {
        waiter.wait(kReconnectIntervalMs);
        if (stopped())
            break;
        result.reopened = tryOpen();
        result.elapsedMs = clock.nowMs() - start;
        // An open that itself takes long (a server that does not answer) counts against the
        // seconds too.
        if (result.reopened || result.elapsedMs >= int64_t(seconds) * 1000)
            break;
    }
    return result;
}

std::string portReopenedText(int64_t elapsedMs, int block)
{
    const int64_t tenths = (elapsedMs + 50) / 100;
    return "Port lost; reopened after " + std::to_string(tenths / 10) + "."
         + std::to_string(tenths % 10) + " s; block " + std::to_string(block) + " sent again.";
}

} // namespace lmx

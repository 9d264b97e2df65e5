#include "rs485.h"

#include <cerrno>
#include <cstring>

#ifdef __linux__
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace lmx {

std::string rs485ReadBackDifference(const Rs485Settings& wanted, const Rs485Settings& got)
{
    if (wanted.enabled && !got.enabled)
        return "the port reads back RS-485 off";
    std::string out;
    auto differs = [&](const char* what, uint32_t asked, uint32_t read) {
        if (asked == read)
            return;
        out += (out.empty() ? "the port reads back " : ", ") + std::string(what) + " "
             + std::to_string(read) + " ms instead of " + std::to_string(asked);
    };
    differs("a delay before sending of", wanted.delayBeforeMs, got.delayBeforeMs);
    differs("a delay after sending of", wanted.delayAfterMs, got.delayAfterMs);
    return out;
}

std::string rs485WarningText(const std::string& portName, const std::string& why)
{
    return "The port " + portName + " does not take the RS-485 settings (" + why
         + "). The transmission goes on without them: the adapter must switch the line's "
           "direction itself.";
}

#ifdef __linux__

std::string applyRs485(int fd, const Rs485Settings& wanted)
{
    serial_rs485 conf{};
    conf.flags = SER_RS485_RTS_ON_SEND;
    if (wanted.enabled)
        conf.flags |= SER_RS485_ENABLED;
    conf.delay_rts_before_send = wanted.delayBeforeMs;
    conf.delay_rts_after_send = wanted.delayAfterMs;
    if (::ioctl(fd, TIOCSRS485, &conf) != 0)
        return std::strerror(errno);
    serial_rs485 back{};
    if (::ioctl(fd, TIOCGRS485, &back) != 0)
        return std::string("it cannot be read back: ") + std::strerror(errno);
    Rs485Settings got;
    got.enabled = (back.flags & SER_RS485_ENABLED) != 0;
    got.delayBeforeMs = back.delay_rts_before_send;
    got.delayAfterMs = back.delay_rts_after_send;
    if (got.enabled && (back.flags & SER_RS485_RTS_ON_SEND) == 0)
        return "the port reads back RTS low while sending";
    return rs485ReadBackDifference(wanted, got);
}

#else

std::string applyRs485(int /*fd*/, const Rs485Settings& /*wanted*/)
{
    return "the system switches an RS-485 line's direction on Linux only";
}

#endif

} // namespace lmx

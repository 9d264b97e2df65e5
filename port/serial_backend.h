#pragma once
// The platform steps the serial port driver is built from. The program uses QtSerialBackend;
// tests use a fake that records every call. All calls and both notifications happen on the
// driver's thread.

#include "comm_port_types.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace lmx {

class SerialBackend {
public:
    virtual ~SerialBackend() = default;

    // Opens the named port for reading and writing, not shared with anyone else.
    virtual bool open(const std::string& name) = 0;
    virtual bool applyLineSettings(const LineSettings& settings) = 0;
    // Discards what is queued in either direction and aborts pending transfers.
    virtual bool purge(bool in, bool out) = 0;
    virtual bool setQueueSizes(uint32_t in, uint32_t out) = 0;
    virtual bool setTimeouts(const CommTimeouts& timeouts) = 0;
    // Bytes waiting in the receive queue and bytes not yet sent.
    virtual bool queued(uint32_t& in, uint32_t& out) = 0;
    // Both return the number of bytes moved, or -1 on failure.
    virtual int64_t read(char* buffer, uint32_t size) = 0;
    virtual int64_t write(const char* data, uint32_t size) = 0;
    // False when the lines cannot be read.
    virtual bool modemLines(TLineStatusSet& lines) = 0;
    virtual void close() = 0;
    // Why the last call failed or the port went away, in the system's words ("Connection
    // refused"), with what the user can do about it where that is known; empty when the
    // backend cannot tell. The user sees it as the detail of the message that reports the
    // failure.
    virtual std::string lastErrorText() const { return {}; }
    // A setting the port did not take although it works without it (the RS-485 mode), for one
    // warning; emptied by the call. Empty when there is nothing to warn about.
    virtual std::string takeWarning() { return {}; }

    // Bytes have arrived: the driver polls at once instead of waiting for its timer.
    void setDataArrivedHandler(std::function<void()> handler) { m_dataArrived = std::move(handler); }
    // The port went away (an adapter unplugged): the driver ends the connection.
    void setFailureHandler(std::function<void()> handler) { m_failed = std::move(handler); }

protected:
    void notifyDataArrived() const
    {
        if (m_dataArrived)
            m_dataArrived();
    }
    void notifyFailure() const
    {
        if (m_failed)
            m_failed();
    }

private:
    std::function<void()> m_dataArrived;
    std::function<void()> m_failed;
};

// The name begins with the scheme ("tcp://"), in any case.
bool hasScheme(std::string_view name, std::string_view scheme);

// A port name of the form tcp://HOST:PORT: a serial device server reached over the network,
// whose own settings decide the line (baud rate, frame format, flow control).
bool isNetworkPortName(std::string_view name);

// The device a port name opens: off Windows the Windows form \\.\COMn (n from 1) is the n-th
// standard serial port /dev/ttyS(n-1); every other name is used as it stands.
std::string devicePathOf(std::string_view name);

} // namespace lmx

#pragma once
// What the two kinds of serial device server have in common: one TCP connection to
// HOST:PORT, made within kConnectTimeoutMs, whose loss once open is a port failure. A server
// has no modem lines to read and no time-outs to set; reading stops when the receive queue
// is full, as on a serial port. The kinds differ in how the line's bytes travel (raw, or
// inside Telnet with COM port control) and in what they let the client set.

#include "serial_backend.h"

#include <QTcpSocket>

#include <cstdint>
#include <string>

namespace lmx {

class NetworkBackend : public SerialBackend {
public:
    // A server that has not accepted the connection by then counts as unreachable.
    static constexpr int kConnectTimeoutMs = 2000;

    ~NetworkBackend() override;

    bool setQueueSizes(uint32_t in, uint32_t out) override;
    bool setTimeouts(const CommTimeouts& timeouts) override;
    bool queued(uint32_t& in, uint32_t& out) override;
    bool modemLines(TLineStatusSet& lines) override;
    void close() override;
    std::string lastErrorText() const override { return m_error; }

protected:
    NetworkBackend();

    // Connects within kConnectTimeoutMs; false with m_error set.
    bool connectTo(const std::string& host, uint16_t port);
    // The socket has bytes to read (only called while open).
    virtual void socketReadable() = 0;
    // Bytes of the line received and not read yet.
    virtual size_t bytesWaiting() = 0;

    QTcpSocket m_socket;
    bool m_open = false; // connected, and not closed since
    size_t m_readBufferSize = 0; // the receive queue's size; 0: no limit
    std::string m_error;
};

} // namespace lmx

#pragma once
// A serial device server reached over the network: the port name tcp://HOST:PORT opens a raw
// TCP connection whose bytes are the bytes of the line. The server's own settings decide
// baud rate, frame format and flow control, so those steps succeed without effect, and there
// are no modem lines to read.

#include "serial_backend.h"

#include <QTcpSocket>

#include <cstdint>
#include <string>
#include <string_view>

namespace lmx {

class TcpBackend : public SerialBackend {
public:
    // A server that has not accepted the connection by then counts as unreachable.
    static constexpr int kConnectTimeoutMs = 2000;

    TcpBackend();
    ~TcpBackend() override;

    bool open(const std::string& name) override;
    bool applyLineSettings(const LineSettings& settings) override;
    bool purge(bool in, bool out) override;
    bool setQueueSizes(uint32_t in, uint32_t out) override;
    bool setTimeouts(const CommTimeouts& timeouts) override;
    bool queued(uint32_t& in, uint32_t& out) override;
    int64_t read(char* buffer, uint32_t size) override;
    int64_t write(const char* data, uint32_t size) override;
    bool modemLines(TLineStatusSet& lines) override;
    void close() override;
    std::string lastErrorText() const override { return m_error; }

private:
    QTcpSocket m_socket;
    bool m_open = false; // connected, and not closed since
    std::string m_error;
};

// Host and port of tcp://HOST:PORT (an IPv6 address in brackets: tcp://[::1]:4001). False,
// with the reason, for a name of another form or a port outside 1..65535.
bool splitNetworkPortName(std::string_view name, std::string& host, uint16_t& port,
                          std::string& error);

} // namespace lmx

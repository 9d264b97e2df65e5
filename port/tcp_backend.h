#pragma once
// A serial device server reached over the network: the port name tcp://HOST:PORT opens a raw
// TCP connection whose bytes are the bytes of the line. The server's own settings decide
// baud rate, frame format and flow control, so those steps succeed without effect, and there
// are no modem lines to read.

#include "network_backend.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lmx {

class TcpBackend : public NetworkBackend {
public:
    bool open(const std::string& name) override;
    bool applyLineSettings(const LineSettings& settings) override;
    bool purge(bool in, bool out) override;
    int64_t read(char* buffer, uint32_t size) override;
    int64_t write(const char* data, uint32_t size) override;

protected:
    void socketReadable() override { notifyDataArrived(); }
    size_t bytesWaiting() override;
};

// Host and port of tcp://HOST:PORT (an IPv6 address in brackets: tcp://[::1]:4001). False,
// with the reason, for a name of another form or a port outside 1..65535.
bool splitNetworkPortName(std::string_view name, std::string& host, uint16_t& port,
                          std::string& error);

} // namespace lmx

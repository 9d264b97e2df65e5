#pragma once
// A serial device server that lets the client set the line: the port name
// rfc2217://HOST:PORT opens a Telnet connection with COM port control (RFC 2217). BINARY is
// negotiated both ways and COM-PORT-OPTION from this side; the line settings go to the server
// as SET-BAUDRATE, SET-DATASIZE, SET-PARITY, SET-STOPSIZE and SET-CONTROL, the first purge as
// PURGE-DATA, and each waits for the server's acknowledgement (at most kAckTimeoutMs, then an
// error that names what did not come or what the server set instead). The line's 0xFF bytes
// travel doubled.

#include "network_backend.h"
#include "telnet_codec.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace lmx {

class Rfc2217Backend : public NetworkBackend {
public:
    static constexpr int kAckTimeoutMs = 3000;
    // From the connect to the options negotiated: a Telnet server answers at once.
    static constexpr int kNegotiationTimeoutMs = 2500;

    bool open(const std::string& name) override;
    bool applyLineSettings(const LineSettings& settings) override;
    bool purge(bool in, bool out) override;
    int64_t read(char* buffer, uint32_t size) override;
    int64_t write(const char* data, uint32_t size) override;
    void close() override;

protected:
    void socketReadable() override;
    size_t bytesWaiting() override;

private:
    // Takes what the socket has: the line's bytes to m_data, answers to the server's
    // requests, acknowledgements to m_acks. False when the connection failed.
    bool takeIncoming();
    // Waits until done() or the time is up; false then, or when the connection failed.
    bool waitFor(const std::function<bool()>& done, int timeoutMs);
    bool send(const std::string& bytes);
    // The server's acknowledgement of `command`: its value, when one came.
    const std::string* ack(uint8_t command) const;
    // Sends the commands and waits for an acknowledgement of each; every acknowledgement must
    // carry the value sent. False with m_error set otherwise.
    bool setAndConfirm(const std::vector<std::pair<uint8_t, std::string>>& commands);

    telnet::Reader m_reader;
    telnet::Negotiation m_negotiation;
    std::string m_data; // the line's bytes received, not yet read
    std::vector<std::pair<uint8_t, std::string>> m_acks; // since the last commands were sent
    bool m_purged = false; // the server's buffers were purged since the open
};

// A port name of the form rfc2217://HOST:PORT.
bool isRfc2217PortName(std::string_view name);

} // namespace lmx

#pragma once
// The program's serial backend: a QSerialPort, or for a tcp://HOST:PORT name a connection to
// a serial device server (TcpBackend), for rfc2217://HOST:PORT one to a server that lets the
// client set the line (Rfc2217Backend). Reads and writes never block; arriving bytes and a
// port that went away are reported through the SerialBackend notifications.

#include "serial_backend.h"

#include <QSerialPort>

#include <memory>

namespace lmx {

class QtSerialBackend : public SerialBackend {
public:
    QtSerialBackend();
    ~QtSerialBackend() override;

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
    std::string lastErrorText() const override;
    std::string takeWarning() override;

private:
    void applyRs485Mode(const Rs485Settings& rs485);

    QSerialPort m_port;
    std::string m_errorText; // why the last open of m_port failed
    std::string m_device;    // what m_port was opened as
    std::string m_warning;
    std::unique_ptr<SerialBackend> m_network;
    bool m_onNetwork = false; // the open port is m_network
    bool m_networkIsRfc2217 = false;
};

} // namespace lmx

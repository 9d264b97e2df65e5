#pragma once
// The program's serial backend: a QSerialPort. Reads and writes never block; arriving bytes
// and a port that went away are reported through the SerialBackend notifications.

#include "serial_backend.h"

#include <QSerialPort>

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
    std::string errorText() const override { return m_errorText; }

private:
    QSerialPort m_port;
    std::string m_errorText;
};

} // namespace lmx

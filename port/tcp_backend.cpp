#include "tcp_backend.h"

#include <algorithm>
#include <cstdint>

namespace lmx {

bool splitNetworkPortName(std::string_view name, std::string& host, uint16_t& port,
                          std::string& error)
{
    error = "A network port is named tcp://HOST:PORT, for example tcp://192.168.1.20:4001.";
    if (!isNetworkPortName(name))
        return false;
    std::string_view rest = name.substr(6);
    const size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos || colon == 0 || colon + 1 == rest.size()
        || rest.size() - colon - 1 > 5)
        return false;
    std::string_view h = rest.substr(0, colon);
    if (h.front() == '[') {
        if (h.size() < 3 || h.back() != ']')
            return false;
        h = h.substr(1, h.size() - 2);
    } else if (h.find(':') != std::string_view::npos) {
        return false; // an IPv6 address needs its brackets
    }
    unsigned long number = 0;
    for (const char c : rest.substr(colon + 1)) {
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + static_cast<unsigned long>(c - '0');
    }
    if (number < 1 || number > 65535)
        return false;
    host.assign(h);
    port = static_cast<uint16_t>(number);
    error.clear();
    return true;
}

TcpBackend::TcpBackend()
{
    QObject::connect(&m_socket, &QTcpSocket::readyRead, &m_socket, [this] { notifyDataArrived(); });
    QObject::connect(&m_socket, &QTcpSocket::errorOccurred, &m_socket,
                     [this](QAbstractSocket::SocketError) {
                         // A failed connect is answered by open itself.
                         if (!m_open)
                             return;
                         m_error = m_socket.errorString().toStdString();
                         notifyFailure();
                     });
}

TcpBackend::~TcpBackend()
{
    QObject::disconnect(&m_socket, nullptr, &m_socket, nullptr);
    m_socket.abort();
}

bool TcpBackend::open(const std::string& name)
{
    close();
    std::string host;
    uint16_t port = 0;
    if (!splitNetworkPortName(name, host, port, m_error))
        return false;
    m_socket.connectToHost(QString::fromStdString(host), port);
    if (!m_socket.waitForConnected(kConnectTimeoutMs)) {
        m_error = m_socket.error() == QAbstractSocket::SocketTimeoutError
            ? "The server did not accept a connection within 2 seconds."
            : m_socket.errorString().toStdString();
        m_socket.abort();
        return false;
    }
    // Every packet goes out as one write and waits for its answer: nothing to gather.
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_open = true;
    m_error.clear();
    return true;
}

bool TcpBackend::applyLineSettings(const LineSettings& /*settings*/)
{
    return m_open; // the server's settings decide the line
}

bool TcpBackend::purge(bool in, bool /*out*/)
{
    // What went to the network cannot be called back; what came and was not read goes.
    if (in && m_open)
        m_socket.skip(m_socket.bytesAvailable());
    return m_open;
}

bool TcpBackend::setQueueSizes(uint32_t in, uint32_t /*out*/)
{
    // As with a serial port, reading stops when the receive queue is full.
    m_socket.setReadBufferSize(in);
    return m_open;
}

bool TcpBackend::setTimeouts(const CommTimeouts& /*timeouts*/)
{
    return m_open;
}

bool TcpBackend::queued(uint32_t& in, uint32_t& out)
{
    if (!m_open)
        return false;
    in = static_cast<uint32_t>(std::min<qint64>(m_socket.bytesAvailable(), UINT32_MAX));
    out = static_cast<uint32_t>(std::min<qint64>(m_socket.bytesToWrite(), UINT32_MAX));
    return true;
}

int64_t TcpBackend::read(char* buffer, uint32_t size)
{
    return m_open ? m_socket.read(buffer, size) : -1;
}

int64_t TcpBackend::write(const char* data, uint32_t size)
{
    if (!m_open)
        return -1;
    const qint64 n = m_socket.write(data, size);
    if (n > 0)
        m_socket.flush(); // to the system at once, without blocking
    return n;
}

bool TcpBackend::modemLines(TLineStatusSet& /*lines*/)
{
    return false;
}

void TcpBackend::close()
{
    m_open = false;
    m_socket.abort();
}

} // namespace lmx

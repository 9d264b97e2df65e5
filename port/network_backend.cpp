#include "network_backend.h"

#include <algorithm>

namespace lmx {

NetworkBackend::NetworkBackend()
{
    QObject::connect(&m_socket, &QTcpSocket::readyRead, &m_socket, [this] {
        if (m_open) // open and its waits take what comes themselves
            socketReadable();
    });
    QObject::connect(&m_socket, &QTcpSocket::errorOccurred, &m_socket,
                     [this](QAbstractSocket::SocketError error) {
                         // A failed connect is answered by open itself, a wait that ran out
                         // by the wait.
                         if (!m_open || error == QAbstractSocket::SocketTimeoutError)
                             return;
                         m_error = m_socket.errorString().toStdString();
                         notifyFailure();
                     });
}

NetworkBackend::~NetworkBackend()
{
    QObject::disconnect(&m_socket, nullptr, &m_socket, nullptr);
    m_socket.abort();
}

bool NetworkBackend::connectTo(const std::string& host, uint16_t port)
{
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
    return true;
}

bool NetworkBackend::setQueueSizes(uint32_t in, uint32_t /*out*/)
{
    // As with a serial port, reading stops when the receive queue is full.
    m_readBufferSize = in;
    m_socket.setReadBufferSize(in);
    return m_open;
}

bool NetworkBackend::setTimeouts(const CommTimeouts& /*timeouts*/)
{
    return m_open;
}

bool NetworkBackend::queued(uint32_t& in, uint32_t& out)
{
    if (!m_open)
        return false;
    in = static_cast<uint32_t>(std::min<size_t>(bytesWaiting(), UINT32_MAX));
    out = static_cast<uint32_t>(std::min<qint64>(m_socket.bytesToWrite(), UINT32_MAX));
    return true;
}

bool NetworkBackend::modemLines(TLineStatusSet& /*lines*/)
{
    return false;
}

void NetworkBackend::close()
{
    m_open = false;
    m_socket.abort();
}

} // namespace lmx

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

bool TcpBackend::open(const std::string& name)
{
    close();
    std::string host;
    uint16_t port = 0;
    if (!splitNetworkPortName(name, host, port, m_error) || !connectTo(host, port))
        return false;
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

size_t TcpBackend::bytesWaiting()
{
    return static_cast<size_t>(m_socket.bytesAvailable());
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

} // namespace lmx

#pragma once
// A client that talks to a terminal with nothing but POSIX termios, the way any program on
// the other end of the line would: open, raw 19200 8N1, purge, write, read until the answer
// is complete or the time is up, close.

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace lmx::sim::testing {

class PlainTerminalClient {
public:
    explicit PlainTerminalClient(const std::string& path)
    {
        m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return;
        termios t{};
        tcgetattr(m_fd, &t);
        cfmakeraw(&t);
        cfsetspeed(&t, B19200);
        t.c_cflag |= CLOCAL | CREAD;
        tcsetattr(m_fd, TCSANOW, &t);
        tcflush(m_fd, TCIOFLUSH);
    }
    // Takes over a descriptor that is connected already (a TCP client).
    explicit PlainTerminalClient(int fd) : m_fd(fd) {}
    ~PlainTerminalClient()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    PlainTerminalClient(const PlainTerminalClient&) = delete;
    PlainTerminalClient& operator=(const PlainTerminalClient&) = delete;

    bool isOpen() const { return m_fd >= 0; }

    bool send(const std::string& bytes)
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += static_cast<size_t>(n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                return false;
        }
        return true;
    }

    // Reads until `complete` arrives or timeoutMs have passed; returns what came.
    std::string receive(int timeoutMs, char complete = '\x04')
    {
        std::string got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.find(complete) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  end - std::chrono::steady_clock::now()).count();
            pollfd p{m_fd, POLLIN, 0};
            char buf[512];
            if (left <= 0)
                break;
            if (::poll(&p, 1, static_cast<int>(left)) <= 0)
                continue;
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n > 0)
                got.append(buf, static_cast<size_t>(n));
        }
        return got;
    }

    static std::string exchange(const std::string& path, const std::string& packet,
                                int timeoutMs = 1000, char complete = '\x04')
    {
        PlainTerminalClient client(path);
        if (!client.isOpen() || !client.send(packet))
            return {};
        return client.receive(timeoutMs, complete);
    }

private:
    int m_fd = -1;
};

} // namespace lmx::sim::testing

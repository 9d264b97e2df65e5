#include "terminal.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace lmx::sim {

namespace {

struct BaudEntry {
    unsigned rate;
    speed_t speed;
};

constexpr BaudEntry kBauds[] = {
    {110, B110},       {300, B300},       {600, B600},       {1200, B1200},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},
    {38400, B38400},   {57600, B57600},   {115200, B115200}, {230400, B230400},
    {460800, B460800}, {921600, B921600},
};

std::string systemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

bool makeRaw(int fd, speed_t speed, bool setSpeed, std::string& error)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0) {
        error = systemError("cannot read the line settings");
        return false;
    }
    cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (setSpeed && (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0)) {
        error = systemError("cannot set the baud rate");
        return false;
    }
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
        error = systemError("cannot apply the line settings");
        return false;
    }
    return true;
}

bool setNonBlocking(int fd, std::string& error)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = systemError("cannot make the line non-blocking");
        return false;
    }
    return true;
}

} // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& o) noexcept
{
    if (this != &o)
        reset(o.release());
    return *this;
}

int UniqueFd::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void UniqueFd::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

bool openPseudoTerminal(ServedLine& line, std::string& error)
{
    UniqueFd master(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!master.valid()) {
        error = systemError("cannot open a pseudo-terminal");
        return false;
    }
    if (grantpt(master.get()) != 0 || unlockpt(master.get()) != 0) {
        error = systemError("cannot unlock the pseudo-terminal");
        return false;
    }
    char name[256];
    if (ptsname_r(master.get(), name, sizeof name) != 0) {
        error = systemError("cannot name the pseudo-terminal");
        return false;
    }
    UniqueFd keeper(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    if (!keeper.valid()) {
        error = systemError(std::string("cannot open ") + name);
        return false;
    }
    // the settings belong to the terminal, not to one descriptor: set them on the client side
    if (!makeRaw(keeper.get(), B0, false, error) || !setNonBlocking(master.get(), error))
        return false;
    line.fd = std::move(master);
    line.keeper = std::move(keeper);
    line.path = name;
    line.pseudoTerminal = true;
    return true;
}

bool baudSupported(unsigned baud)
{
    for (const auto& b : kBauds)
        if (b.rate == baud)
            return true;
    return false;
}

bool openSerialPort(const std::string& name, unsigned baud, ServedLine& line, std::string& error)
{
    speed_t speed = B0;
    for (const auto& b : kBauds)
        if (b.rate == baud)
            speed = b.speed;
    if (speed == B0) {
        error = "baud rate " + std::to_string(baud) + " is not supported";
        return false;
    }
    UniqueFd fd(::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) {
        error = systemError("cannot open " + name);
        return false;
    }
    if (!isatty(fd.get())) {
        error = name + " is not a serial port";
        return false;
    }
    if (!makeRaw(fd.get(), speed, true, error))
        return false;
    tcflush(fd.get(), TCIOFLUSH);
    line.fd = std::move(fd);
    line.path = name;
    line.pseudoTerminal = false;
    return true;
}

bool openTcpListener(const std::string& host, uint16_t port, ServedLine& line, std::string& error)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int looked = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (looked != 0) {
        error = "cannot listen on " + host + ": " + gai_strerror(looked);
        return false;
    }
    UniqueFd listener;
    error = "cannot listen on " + host + ":" + std::to_string(port);
    for (const addrinfo* a = found; a && !listener.valid(); a = a->ai_next) {
        UniqueFd fd(::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        const int on = 1;
        // a display started again takes its port back at once
        if (fd.valid() && setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0
            && ::bind(fd.get(), a->ai_addr, a->ai_addrlen) == 0 && ::listen(fd.get(), 4) == 0)
            listener = std::move(fd);
        else
            error = systemError("cannot listen on " + host + ":" + std::to_string(port));
    }
    freeaddrinfo(found);
    if (!listener.valid())
        return false;
    sockaddr_storage bound{};
    socklen_t size = sizeof bound;
    char address[NI_MAXHOST];
    char service[NI_MAXSERV];
    if (getsockname(listener.get(), reinterpret_cast<sockaddr*>(&bound), &size) != 0
        || getnameinfo(reinterpret_cast<sockaddr*>(&bound), size, address, sizeof address, service,
                       sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
        error = systemError("cannot read the address listened on");
        return false;
    }
    const bool v6 = bound.ss_family == AF_INET6;
    line.listener = std::move(listener);
    line.path = std::string("tcp://") + (v6 ? "[" : "") + address + (v6 ? "]" : "") + ":" + service;
    line.pseudoTerminal = false;
    error.clear();
    return true;
}

void acceptClient(ServedLine& line)
{
    UniqueFd client(::accept4(line.listener.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!client.valid() || line.fd.valid())
        return; // one client at a time: a second one is closed at once
    const int on = 1;
    setsockopt(client.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on); // answers leave at once
    line.fd = std::move(client);
}

} // namespace lmx::sim

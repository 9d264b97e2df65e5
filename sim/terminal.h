#pragma once
// Opening the line a virtual display serves: a fresh pseudo-terminal or an existing serial
// port, both raw, 8 data bits, no parity, 1 stop bit, no flow control, non-blocking; or a TCP
// port, as a serial device server offers the line to one client at a time.

#include <cstdint>
#include <string>

namespace lmx::sim {

// Owns one file descriptor.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(UniqueFd&& o) noexcept : m_fd(o.release()) {}
    UniqueFd& operator=(UniqueFd&& o) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release();
    void reset(int fd = -1);

private:
    int m_fd = -1;
};

struct ServedLine {
    UniqueFd fd;         // what the display reads and writes; TCP: the client, if one is there
    UniqueFd keeper;     // pseudo-terminal: the display's own hold on the client side
    UniqueFd listener;   // TCP: where clients connect
    std::string path;    // what a client opens
    bool pseudoTerminal = false;
};

// A new pseudo-terminal. The display keeps the client side open itself, so that a client
// may open and close it once per packet without the display seeing a hang-up, and so that
// the raw settings survive between clients.
bool openPseudoTerminal(ServedLine& line, std::string& error);

// An existing serial port at `baud` bits per second.
bool openSerialPort(const std::string& name, unsigned baud, ServedLine& line, std::string& error);
bool baudSupported(unsigned baud);

// Listens on a TCP port of `host` (an address or a name); port 0 takes a free one. The path
// becomes the name a client opens, tcp://ADDRESS:PORT, with the port that was bound.
bool openTcpListener(const std::string& host, uint16_t port, ServedLine& line, std::string& error);
// Takes a client that is waiting: it becomes the line when there is none, and is closed at
// once when the line has one already.
void acceptClient(ServedLine& line);

} // namespace lmx::sim

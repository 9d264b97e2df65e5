#include "sim_server.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lmx::sim {

namespace {

int64_t steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// A pseudo-terminal with no client reports a hang-up at once on every poll; this much rest
// keeps the loop from spinning until a client comes.
constexpr int kHangUpRestMs = 20;

} // namespace

SimServer::SimServer(SimOptions options, LineSink sink)
    : m_sink(std::move(sink)),
      m_lineRate(options.lineRate),
      m_echo(options.echo)
{
    m_device = std::make_unique<SimDevice>(std::move(options));
}

SimServer::~SimServer()
{
    stop();
}

std::string SimServer::start()
{
    ServedLine line;
    std::string error;
    if (!openPseudoTerminal(line, error)) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_error = error;
        return {};
    }
    return begin(std::move(line)) ? path() : std::string();
}

std::string SimServer::startOnPort(const std::string& port, unsigned baud)
{
    ServedLine line;
    std::string error;
    if (!openSerialPort(port, baud, line, error)) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_error = error;
        return {};
    }
    return begin(std::move(line)) ? path() : std::string();
}

std::string SimServer::startOnTcp(const std::string& host, uint16_t port)
{
    ServedLine line;
    std::string error;
    if (!openTcpListener(host, port, line, error)) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_error = error;
        return {};
    }
    return begin(std::move(line)) ? path() : std::string();
}

bool SimServer::begin(ServedLine line)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_started) {
        m_error = "the virtual display was started already";
        return false;
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_error = "cannot create the stop pipe";
        return false;
    }
    m_wakeRead.reset(fds[0]);
    m_wakeWrite.reset(fds[1]);
    m_line = std::move(line);
    m_path = m_line.path;
    m_started = true;
    m_running = true;
    m_error.clear();
    m_thread = std::thread(&SimServer::run, this);
    return true;
}

void SimServer::stop()
{
    if (m_thread.joinable()) {
        const char byte = 0;
        while (::write(m_wakeWrite.get(), &byte, 1) < 0 && errno == EINTR) {
        }
        m_thread.join();
    }
    m_line = ServedLine();
    m_wakeRead.reset();
    m_wakeWrite.reset();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_running = false;
    m_changed.notify_all();
}

bool SimServer::running() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_running;
}

std::string SimServer::errorText() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_error;
}

std::string SimServer::path() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_path;
}

std::vector<PacketRecord> SimServer::packets() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return {m_device->packets().begin(), m_device->packets().end()};
}

std::vector<DroppedRecord> SimServer::dropped() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return {m_device->dropped().begin(), m_device->dropped().end()};
}

std::vector<DisplayState> SimServer::displays() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_device->displays();
}

bool SimServer::waitForPackets(size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                       [&] { return m_publishedPackets >= count || !m_running; });
    return m_publishedPackets >= count;
}

size_t SimServer::clientsServed() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_clients;
}

SimServer::WriteStamp SimServer::lastWrite() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastWrite;
}

bool SimServer::waitForWrites(size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                       [&] { return m_lastWrite.count >= count || !m_running; });
    return m_lastWrite.count >= count;
}

void SimServer::run()
{
    for (;;) {
        const int64_t now = steadyMs();
        const int64_t paced = deliverPaced(now);
        if (!writeDue(now))
            return;
        int64_t due = -1;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            due = m_device->deadline();
        }
        if (!m_writes.empty() && (due < 0 || m_writes.front().dueMs < due))
            due = m_writes.front().dueMs;
        if (paced >= 0 && (due < 0 || paced < due))
            due = paced;
        const int timeout = due < 0 ? -1 : static_cast<int>(std::max<int64_t>(0, due - now));

        pollfd fds[3] = {};
        fds[0].fd = m_line.fd.get(); // -1 while a TCP port has no client: not polled
        fds[0].events = POLLIN;
        if (!m_writes.empty() && m_writes.front().dueMs <= now)
            fds[0].events |= POLLOUT; // the last write could not go out completely
        fds[1].fd = m_wakeRead.get();
        fds[1].events = POLLIN;
        fds[2].fd = m_line.listener.get();
        fds[2].events = POLLIN;
        const int n = ::poll(fds, 3, timeout);
        if (n < 0 && errno != EINTR) {
            fail("poll failed");
            return;
        }
        if (fds[1].revents != 0)
            return; // stop
        bool hangUp = false;
        if (n > 0 && (fds[0].revents & POLLIN) != 0) {
            if (!readAvailable(steadyMs(), hangUp))
                return;
        } else if (n > 0 && (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            hangUp = true;
        }
        if (hangUp && m_line.listener.valid()) {
            // the client left: what was still to go to it goes nowhere
            m_line.fd.reset();
            m_writes.clear();
        } else if (hangUp) {
            if (!m_line.pseudoTerminal) {
                fail("lost the serial port " + m_line.path);
                return;
            }
            if (waitForWake(kHangUpRestMs))
                return;
        }
        // after the line's own events, so that a client that just left makes room
        if (n > 0 && (fds[2].revents & POLLIN) != 0)
            takeClient();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            const int64_t t = steadyMs();
            const int64_t d = m_device->deadline();
            if (d >= 0 && t >= d)
                schedule(m_device->expire(t), t);
        }
        publish();
    }
}

bool SimServer::readAvailable(int64_t nowMs, bool& hangUp)
{
    char buf[4096];
    for (;;) {
        const ssize_t got = ::read(m_line.fd.get(), buf, sizeof buf);
        if (got > 0) {
            take(std::string_view(buf, static_cast<size_t>(got)), nowMs);
            // answer before reading on: the client is waiting for it
            if (!writeDue(steadyMs()))
                return false;
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        // 0 or EIO: nobody holds the other end (a pseudo-terminal between clients), or the
        // port went away
        hangUp = true;
        return true;
    }
}

void SimServer::takeClient()
{
    const bool had = m_line.fd.valid();
    acceptClient(m_line);
    if (!had && m_line.fd.valid()) {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_clients;
    }
}

void SimServer::take(std::string_view bytes, int64_t nowMs)
{
    if (m_lineRate == 0) {
        deliver(bytes, nowMs);
        return;
    }
    if (m_paced.empty())
        m_nextByteAt = std::max(double(nowMs), m_lastByteAt) + 10000.0 / m_lineRate;
    m_paced.append(bytes);
}

int64_t SimServer::deliverPaced(int64_t nowMs)
{
    if (m_paced.empty())
        return -1;
    const double byteMs = 10000.0 / m_lineRate;
    size_t n = 0;
    while (n < m_paced.size() && m_nextByteAt + n * byteMs <= double(nowMs))
        ++n;
    if (n > 0) {
        m_lastByteAt = m_nextByteAt + (n - 1) * byteMs;
        m_nextByteAt += n * byteMs;
        const std::string slice = m_paced.substr(0, n);
        m_paced.erase(0, n);
        deliver(slice, nowMs);
    }
    return m_paced.empty() ? -1 : static_cast<int64_t>(std::ceil(m_nextByteAt));
}

void SimServer::deliver(std::string_view bytes, int64_t nowMs)
{
    if (m_echo != EchoKind::Off) {
        std::string echo(bytes);
        for (char& c : echo) {
            const bool start = c == 0x01;
            if (m_echo == EchoKind::Spoiled && m_echoAfterStart)
                c = static_cast<char>(c ^ 0x20);
            m_echoAfterStart = start;
        }
        std::vector<TimedWrite> heard(1);
        heard[0].bytes = std::move(echo);
        schedule(std::move(heard), nowMs, false);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    schedule(m_device->receive(bytes, nowMs), nowMs);
}

void SimServer::schedule(std::vector<TimedWrite> writes, int64_t nowMs, bool paced)
{
    // the answers go out in the order of the packets, a delayed one holding up the next
    int64_t at = m_writes.empty() ? nowMs : std::max(nowMs, m_writes.back().dueMs);
    for (auto& w : writes) {
        at = std::max(at, nowMs) + w.delayMs;
        if (paced && m_lineRate > 0 && !w.bytes.empty()) {
            const double done = std::max(double(at), m_answerLineFreeAt)
                              + double(w.bytes.size()) * 10000.0 / m_lineRate;
            m_answerLineFreeAt = done;
            at = static_cast<int64_t>(std::ceil(done));
        }
        m_writes.push_back({at, std::move(w.bytes)});
        nowMs = at; // the pause of a split answer counts from its first part
    }
}

bool SimServer::writeDue(int64_t nowMs)
{
    while (!m_writes.empty() && m_writes.front().dueMs <= nowMs) {
        std::string& bytes = m_writes.front().bytes;
        const auto started = std::chrono::steady_clock::now();
        // the whole answer in one write, so that it leaves as one piece; a TCP client that
        // left must not end the display by SIGPIPE
        const bool tcp = m_line.listener.valid();
        const ssize_t put = bytes.empty() ? 0
                          : tcp ? ::send(m_line.fd.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL)
                                : ::write(m_line.fd.get(), bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return true; // poll waits for room
            if (m_line.pseudoTerminal || tcp) {
                m_writes.erase(m_writes.begin()); // no client to hear it
                continue;
            }
            fail("cannot write to the serial port " + m_line.path);
            return false;
        }
        bytes.erase(0, static_cast<size_t>(put));
        if (!bytes.empty())
            return true;
        m_writes.erase(m_writes.begin());
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_lastWrite.count;
            m_lastWrite.lastStart = started;
        }
        m_changed.notify_all();
    }
    return true;
}

void SimServer::publish()
{
    std::vector<std::string> lines;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        lines = m_device->takeLines();
        m_publishedPackets = m_device->packetCount();
    }
    m_changed.notify_all();
    if (m_sink)
        for (const auto& line : lines)
            m_sink(line);
}

void SimServer::fail(const std::string& error)
{
    publish();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_error = error;
    m_running = false;
    m_changed.notify_all();
}

bool SimServer::waitForWake(int timeoutMs)
{
    pollfd p{m_wakeRead.get(), POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0;
}

} // namespace lmx::sim

#pragma once
// A serial device server that misbehaves in one way, on a TCP port of 127.0.0.1, served from
// a thread of its own: what lmx send and lmx scan meet on a broken line or a hostile network.
// Every packet it receives (up to its end byte) is answered as the fault says. The boundary
// benchmark measures lmx against it, and the tests hold lmx to its bounds.

#include "sim/answer_writer.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

enum class Fault {
    Silent,    // never answers
    Garbage,   // 300 bytes that frame no answer, then an end byte
    Endless,   // 0x01 bytes without end from the first packet on
    Slow,      // a good answer, one byte every 100 ms: it ends long after the time-out
    Partial,   // the first half of a good answer, then nothing
    Oversized, // 2 MB between a start and an end byte
    Closing,   // the first half of a good answer, then the connection closes
};

class FaultServer {
public:
    explicit FaultServer(Fault fault) : m_fault(fault)
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        bind(m_listener, reinterpret_cast<sockaddr*>(&a), size);
        listen(m_listener, 4);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&a), &size);
        m_port = ntohs(a.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~FaultServer()
    {
        m_stop = true;
        m_thread.join();
        close(m_listener);
    }
    FaultServer(const FaultServer&) = delete;
    FaultServer& operator=(const FaultServer&) = delete;

    std::string portName() const { return "tcp://127.0.0.1:" + std::to_string(m_port); }
    int packets() const { return m_packets; }

private:
    void serve()
    {
        while (!m_stop) {
            pollfd p{m_listener, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0)
                continue;
            const int client = accept(m_listener, nullptr, nullptr);
            if (client >= 0)
                serveClient(client);
            close(client);
        }
    }
    // The answer due for a request packet, as the fault spoils it.
    std::string answerTo(const std::string& request) const
    {
        const int netNr = request.size() > 3 ? std::stoi(request.substr(2, 2), nullptr, 16) : 1;
        const std::string good = lmx::sim::answerPacket(static_cast<uint8_t>(netNr), 0, "0000");
        switch (m_fault) {
        case Fault::Garbage: return "\x01\x06" + std::string(300, 'Z') + "\x04";
        case Fault::Slow: return good;
        case Fault::Partial:
        case Fault::Closing: return good.substr(0, good.size() / 2);
        case Fault::Oversized: return "\x01" + std::string(2 << 20, 'O') + "\x04";
        default: return {};
        }
    }
    void serveClient(int client)
    {
        std::string request;
        std::string due;
        bool endless = false;
        const bool paced = m_fault == Fault::Slow;
        auto nextByte = std::chrono::steady_clock::now();
        while (!m_stop) {
            if (endless && due.size() < 65536)
                due.append(65536, '\x01');
            const bool sending = !due.empty() && (!paced || std::chrono::steady_clock::now() >= nextByte);
            pollfd p{client, static_cast<short>(POLLIN | (sending ? POLLOUT : 0)), 0};
            if (poll(&p, 1, 20) <= 0)
                continue;
            if (p.revents & (POLLIN | POLLHUP | POLLERR)) {
                char buffer[4096];
                const ssize_t n = recv(client, buffer, sizeof buffer, MSG_DONTWAIT);
                if (n == 0 || (n < 0 && errno != EAGAIN))
                    return;
                for (ssize_t i = 0; i < n; ++i) {
                    request += buffer[i];
                    if (buffer[i] != '\x04')
                        continue;
                    ++m_packets;
                    endless = endless || m_fault == Fault::Endless;
                    due += answerTo(request);
                    request.clear();
                    if (m_fault == Fault::Closing && !due.empty()) {
                        send(client, due.data(), due.size(), MSG_NOSIGNAL);
                        return;
                    }
                }
            }
            if (!sending || !(p.revents & POLLOUT))
                continue;
            const ssize_t n = send(client, due.data(), paced ? 1 : due.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0)
                due.erase(0, static_cast<size_t>(n));
            else if (errno != EAGAIN)
                return;
            nextByte = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        }
    }

    Fault m_fault;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_packets{0};
    std::thread m_thread;
};

#pragma once
// Serves a virtual display on a terminal from a background thread: a fresh pseudo-terminal
// (start), an existing serial port (startOnPort) or a TCP port (startOnTcp). Everything it
// received and what each display shows can be read from any thread while it runs and after
// it has stopped.

#include "sim_device.h"
#include "sim_options.h"
#include "terminal.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace lmx::sim {

class SimServer {
public:
    // Called on the server's thread with every line the display prints.
    using LineSink = std::function<void(const std::string&)>;

    explicit SimServer(SimOptions options, LineSink sink = {});
    ~SimServer(); // stops
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Opens a fresh pseudo-terminal and starts serving it. Returns the path a client opens,
    // or an empty string (errorText() says why). A server starts once.
    std::string start();
    // The same on an existing serial port; returns its name.
    std::string startOnPort(const std::string& port, unsigned baud);
    // The same on a TCP port of `host` (0 takes a free port), one client at a time, as a
    // serial device server offers its line; returns tcp://ADDRESS:PORT. A client that leaves
    // makes room for the next.
    std::string startOnTcp(const std::string& host, uint16_t port);
    // Ends the thread and closes the terminal; returns when both are done.
    void stop();

    // False before start, after stop, and when the line failed (errorText() says how).
    bool running() const;
    std::string errorText() const;
    std::string path() const;

    std::vector<PacketRecord> packets() const;
    std::vector<DroppedRecord> dropped() const;
    std::vector<DisplayState> displays() const;
    // TCP: the clients served so far.
    size_t clientsServed() const;
    // Waits until `count` packets in all were received, the server stopped or timeoutMs
    // passed; true when the packets came.
    bool waitForPackets(size_t count, int timeoutMs) const;

    // The answer writes that went out completely, and when the last of them began: the
    // steady clock just before the write that put its final byte on the line. Lets a
    // client measure how long an answer's end takes to reach it.
    struct WriteStamp {
        size_t count = 0;
        std::chrono::steady_clock::time_point lastStart;
    };
    WriteStamp lastWrite() const;
    // Waits until `count` writes went out completely; true when they did.
    bool waitForWrites(size_t count, int timeoutMs) const;

private:
    struct PendingWrite {
        int64_t dueMs;
        std::string bytes;
    };

    bool begin(ServedLine line);
    void run();
    // Received bytes: to the display at once, or at the line's pace (SimOptions::lineRate).
    void take(std::string_view bytes, int64_t nowMs);
    // The paced bytes whose time has come; -1 when none wait, else when the next one is due.
    int64_t deliverPaced(int64_t nowMs);
    void deliver(std::string_view bytes, int64_t nowMs);
    // Answers at the line's pace go out once their last byte would have left; an echo is
    // heard as the bytes go, so it is not paced again.
    void schedule(std::vector<TimedWrite> writes, int64_t nowMs, bool paced = true);
    bool writeDue(int64_t nowMs);  // false when the line failed
    bool readAvailable(int64_t nowMs, bool& hangUp);
    void takeClient();
    void publish();
    void fail(const std::string& error);
    bool waitForWake(int timeoutMs);

    LineSink m_sink;
    std::unique_ptr<SimDevice> m_device; // guarded by m_mutex
    ServedLine m_line;
    UniqueFd m_wakeRead;
    UniqueFd m_wakeWrite;
    std::thread m_thread;
    std::vector<PendingWrite> m_writes; // server thread only, in the order they go out
    // The line's pace and echo (server thread only).
    const unsigned m_lineRate;
    const EchoKind m_echo;
    std::string m_paced;       // received, not yet carried by the line
    double m_nextByteAt = 0;   // ms when the first of them has arrived
    double m_lastByteAt = 0;   // ms when the last byte delivered had arrived
    double m_answerLineFreeAt = 0; // ms when the last answer has left the line
    bool m_echoAfterStart = false; // the last byte echoed was a start byte
    size_t m_publishedPackets = 0;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    WriteStamp m_lastWrite;
    size_t m_clients = 0;
    bool m_started = false;
    bool m_running = false;
    std::string m_error;
    std::string m_path;
};

} // namespace lmx::sim

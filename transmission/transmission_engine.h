#pragma once
// The transmission engine: turns a command list into packets, hands them one at a time to
// the packet exchange, evaluates every answer and writes a receive-box line for every event.
// A transmission runs to its end inside TransmitExtended or TransmitNormal; the wait for an
// answer runs a nested event loop, and so do the waits between packets unless another
// Waiter is given, so timers, serial input and user input go on meanwhile.
//
// A transmission is never re-entered: while one runs (running()), another Transmit call is
// refused. It can be ended early in two ways:
// - requestStopAfterExchange(), the user's Stop (Esc in the window, Ctrl+C in lmx send): a
//   packet already written still gets its answer or its time-out, judged and logged as usual
//   but without a message box; a wait ends at once; nothing more is sent; the receive box
//   gets time stamp + " Transmission stopped." and the transmit call returns End::Stopped.
//   A packet is never cut, and the display is never left inside a packet.
// - requestStop(), for an owner that goes away (the window closing): the current wait and
//   exchange end at once and the transmit call returns without another line, message box or
//   log write. The owner calls it before it destroys the engine or anything the engine uses,
//   and destroys them only after the transmit call has returned.
// Whoever needs the transmission gone before it acts (a new list, other settings) asks for
// the stop and acts once the transmit call has returned; runningChanged(false) says when.
//
// Within one transmission each distinct message text is shown once (DistinctMessages), the
// port's messages included; the receive box gets a line for every event all the same. A debug
// log that cannot be created is reported once and not tried again until the next one.

#include "debug_log.h"
#include "distinct_messages.h"
#include "packet_exchange.h"
#include "packet_observer.h"
#include "platform/steady_clock.h"
#include "platform/user_dialogs.h"
#include "platform/wall_clock.h"
#include "transmission_reports.h"
#include "waiter.h"

#include <QObject>

#include <cstdint>
#include <string>
#include <vector>

class QEventLoop;

namespace lmx {

namespace cut {
struct Block;
}

class TransmissionEngine : public QObject {
    Q_OBJECT

public:
    static constexpr int kMinPacketSize = 2;
    static constexpr int kMaxPacketSize = 240;
    // The longest display block the normal framing sends.
    static constexpr size_t kMaxNormalBlock = 240;

    enum class End {
        Completed, // ran to its end by the rules
        Aborted,   // ended early by a rule (the receive box says which)
        Stopped,   // ended by requestStopAfterExchange() or requestStop()
        Refused,   // not started: one was running, or the network number was out of range
    };
    struct Outcome {
        End end = End::Completed;
        int packetsSent = 0;
        int failedAnswers = 0; // answers that were missing, invalid or reported a failure
        int unsentBlocks = 0;  // normal framing: blocks that were empty or too long
        // Every packet was answered OK (a broadcast to network number 0 counts as answered)
        // and nothing was left unsent.
        bool allAnswered() const
        {
            return end == End::Completed && failedAnswers == 0 && unsentBlocks == 0;
        }
    };

    // The exchange, dialogs, receive log and clocks must outlive the engine.
    TransmissionEngine(PacketExchange& exchange, UserDialogs& dialogs, ReceiveLog& receiveLog,
                       const WallClock& wallClock,
                       const SteadyClock& steadyClock = SystemSteadyClock::instance(),
                       QObject* parent = nullptr);
    ~TransmissionEngine() override;
    TransmissionEngine(const TransmissionEngine&) = delete;
    TransmissionEngine& operator=(const TransmissionEngine&) = delete;

    // Where the waits between packets pass their time; nullptr: a nested event loop on the
    // steady clock. The waiter must outlive the engine, or be replaced before it goes.
    void setWaiter(Waiter* waiter) { m_waiter = waiter ? waiter : &m_ownWaiter; }

    // Optional reports; nullptr switches them off.
    void setBusyIndicator(BusyIndicator* busy) { m_busy = busy; }
    void setAnswerDataSink(AnswerDataSink* sink) { m_answerSink = sink; }
    // The debug log written for every packet while DebugFile is on.
    void setDebugLog(DebugLog* log) { m_debugLog = log; }
    // Told about every packet and answer (packet_observer.h); nullptr switches it off.
    void setPacketObserver(PacketObserver* observer) { m_observer = observer; }
    void SetDebugFile(bool on) { m_debugFile = on; }
    // Off: a failed answer is told only in the receive box, not in a message box as well (a
    // run to many displays gathers the failures in its summary and goes on).
    void SetAnswerErrorBoxes(bool on) { m_answerErrorBoxes = on; }
    bool DebugFile() const { return m_debugFile; }
    // With DebugFile on, every transmission starts the log anew (startDebugLog below).
    void SetCreateDebugFile(bool on) { m_createDebugFile = on; }
    bool CreateDebugFile() const { return m_createDebugFile; }

    // Largest data of one extended packet, 2..240 (240 at start). A value outside is refused
    // (false). A change takes effect with the next transmission.
    bool SetPacketSize(int size);
    int PacketSize() const { return m_packetSize; }

    // The command lines as the command box holds them; a last line that is the end marker
    // "<End>" is not sent. defaultNetNr (0..255) addresses everything outside display blocks.
    Outcome TransmitExtended(const std::vector<std::string>& commandLines, int defaultNetNr);
    Outcome TransmitNormal(const std::vector<std::string>& commandLines, int defaultNetNr);

    bool running() const { return m_running; }
    // Ends the running transmission once the exchange in progress is over, with the line
    // " Transmission stopped." (see above). Nothing happens when no transmission runs.
    void requestStopAfterExchange();
    // Ends the running transmission as soon as control comes back to the engine: the current
    // wait ends, an exchange in progress is given up with the port closed; no further line.
    // It also cuts short a stop asked for with requestStopAfterExchange(). Nothing happens
    // when no transmission runs.
    void requestStop();
    // A stop of either kind was asked for and the transmit call has not returned yet.
    bool stopping() const { return m_running && (m_stop || m_stopAfterExchange); }

signals:
    // A transmission started (true) or returned (false): the window's Transmit enabling.
    void runningChanged(bool running);

private:
    // Resend: the port came back after it was lost; the block goes out again.
    enum class Step { Go, End, Resend };
    // NotStarted: the port did not open, or it went away before the answer came.
    enum class Exchange { Answered, NotStarted, Stopped };
    class BusyScope;
    class RunScope;

    // Tells the observer what came for the last packet and what the line did wrong with it
    // (its echo); the echo's fault.
    const EchoFault& observeAnswer(const std::string& answer);
    void ReceiveExtendedAnswer(const std::string& answer);
    void ReceiveNormalAnswer(const std::string& answer);
    // `sentLine` goes to the receive box once the packet is out: not for a port that did
    // not open.
    Exchange TransmitAndWait(const std::string& packet, const std::string& sentLine);
    // False when the transmission was stopped meanwhile.
    bool Wait(int ms);

    Step beginBlock(cut::Block& block, int defaultNetNr);
    Step sendExtendedBlock(std::string& block, const std::string& stream, size_t packetSize);
    Step sendExtendedPacket(const std::string& chunk);
    Step sendNormalBlock(const std::string& block);
    Step exchanged(Exchange result);
    // The exchange did not start, or the port went away in it: reopened within the driver's
    // reconnect seconds, the block in progress is sent again; otherwise the end.
    Step portLost();
    // Ends the transmission as stopped; the line says so unless the stop was at once.
    Step stopped();
    // The port went away in this transmission: told to the observer, and in the end line.
    void portLost(const std::string& notSent);
    std::string lostConnectionText() const;
    bool stopAsked() const { return m_stop || m_stopAfterExchange; }
    void startLog();
    // The error text of the first write that failed; empty when both were written.
    std::string writeLog(DebugLog& log, const char* head, const std::string& bytes);
    void logFailed(const std::string& error);
    void prepare(bool extended, int defaultNetNr);
    void logLine(const std::string& line);
    void logAborted();
    std::string stamp() const;
    std::string netNrPrefix() const;
    void showError(const std::string& text);
    void runLoop(QEventLoop& loop);
    void setBusy(bool on);

    PacketExchange& m_exchange;
    DistinctMessages m_messages;
    ReceiveLog& m_receiveLog;
    const WallClock& m_wallClock;
    const SteadyClock& m_steadyClock;
    EventLoopWaiter m_ownWaiter;
    Waiter* m_waiter = &m_ownWaiter;
    BusyIndicator* m_busy = nullptr;
    AnswerDataSink* m_answerSink = nullptr;
    DebugLog* m_debugLog = nullptr;
    PacketObserver* m_observer = nullptr;
    bool m_debugFile = false;
    bool m_answerErrorBoxes = true;
    bool m_createDebugFile = false;
    int m_packetSize = kMaxPacketSize;

    // The transmission that runs.
    bool m_running = false;
    bool m_stop = false;
    bool m_stopAfterExchange = false;
    bool m_logWritten = false; // the debug log took a write in this transmission
    bool m_logGivenUp = false; // it could not be created: left alone until the next one
    int m_netNr = 0;
    uint8_t m_packetNr = 0;
    int m_answerWait = 0;
    int m_blockNumber = 0; // of the display block being sent, from 1
    bool m_lastAnswerOk = true; // the last answer evaluation ended without error
    bool m_portLost = false;
    Outcome m_outcome;
    std::vector<QEventLoop*> m_loops; // the answer waits running now, innermost last
    int m_busyDepth = 0;
};

// The start of a Transmit with CreateDebugFile on: the log begins anew with a line stamped
// with date and time. False when it could not be written (LastLogErrorText says why).
bool startDebugLog(DebugLog& log);

} // namespace lmx

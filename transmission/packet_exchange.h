#pragma once
// One packet exchange at a time: opens the port, writes the packet, collects the answer
// until it is complete or the answer time-out passes, closes the port and hands the answer
// to the registered handler. It tells the serial debug window what went over the line and
// the main window when to light its traffic LEDs; it has no window of its own.
//
// A transmission keeps the port open from its first packet to its end (KeepPortOpen): one
// open, and for a device server one connection, instead of one per packet.

#include "platform/user_dialogs.h"
#include "port/comm_port_driver.h"
#include "port/echo_filter.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <functional>
#include <string>

namespace lmx {

class PacketExchange : public QObject {
    Q_OBJECT

public:
    using AnswerHandler = std::function<void(const std::string& answer)>;

    static constexpr int kAnswerTimeoutMs = 1000;
    static constexpr char kEndByte = 0x04;
    // The LED a trafficActivity signal lights.
    static constexpr int kReceiveLed = 1;
    static constexpr int kTransmitLed = 2;

    PacketExchange(TCommPortDriver& driver, UserDialogs& dialogs, QObject* parent = nullptr);
    ~PacketExchange() override;
    PacketExchange(const PacketExchange&) = delete;
    PacketExchange& operator=(const PacketExchange&) = delete;

    void SetAnswerHandler(AnswerHandler handler) { m_answerHandler = std::move(handler); }
    // Where the port's messages go from now on; nullptr: the dialogs it was made with. The
    // engine passes its own while a transmission runs, so they are counted with its messages.
    void SetDialogs(UserDialogs* dialogs) { m_dialogs = dialogs ? dialogs : &m_ownDialogs; }
    // Starts an exchange and returns once the packet is written (in one write to the port);
    // ignored while one is in progress. A port that does not open is reported, with the
    // system's reason as detail, and ends the exchange at once, with no handler call. True
    // when the packet went out and its answer is awaited.
    bool SendPacket(const std::string& packet);
    // While on, the port stays open between exchanges; off closes it (TCommPortDriver's
    // HoldPort). A port that fails is closed all the same, and the next packet opens it anew.
    void KeepPortOpen(bool on) { m_driver.HoldPort(on); }
    // The last exchange ended because the port went away (an adapter unplugged, a device
    // server gone): that was reported once, with the reason, and the answer handler was not
    // called.
    bool portFailed() const { return m_portFailed; }
    // The port's name.
    std::string portName() const { return m_driver.PortName(); }
    // Why the port of the last exchange went away or did not open, in the system's words.
    const std::string& portLossReason() const { return m_portLoss.reason; }
    // While on, a port that goes away or does not open is not reported at once but kept for
    // ReportPortLoss: the transmission tries to reopen it first (port_reconnect.h).
    void SetDeferPortLoss(bool on) { m_deferPortLoss = on; }
    // Reports the port's failure that was kept back, once.
    void ReportPortLoss();
    // Tries to open the port again without an exchange and without a message; the port stays
    // open for the next packet while it is held (KeepPortOpen).
    bool Reopen();
    // What went wrong with the line's echo of the last packet (echo_filter.h); the answer the
    // handler got is what followed the echo.
    const EchoFault& echoFault() const { return m_echoFault; }
    // Ends an exchange in progress at once: the port is closed and the answer handler is not
    // called. Nothing happens when no exchange is in progress.
    void Abort();
    // No exchange in progress.
    bool done() const { return m_done; }
    const TCommPortDriver& driver() const { return m_driver; }

    // The current packet, and what was received since it was written (the answer): at most
    // kMaxAnswerBytes (protocol/answer.h); bytesDropped counts what came beyond.
    const std::string& bytesSent() const { return m_bytesSent; }
    const std::string& bytesReceived() const { return m_bytesReceived; }
    size_t bytesDropped() const { return m_bytesDropped; }

    void ClearDebugLists();
    void SetClearPerPacket(bool on) { m_clearPerPacket = on; }
    bool ClearPerPacket() const { return m_clearPerPacket; }
    void SetDebugView(bool on) { m_debugView = on; }
    bool DebugView() const { return m_debugView; }
    // Extended framing: 0x04 ends the answer; normal framing: '0'..'9' or 'A'.
    void SetExtendedLmx(bool on) { m_extended = on; }
    bool ExtendedLmx() const { return m_extended; }
    void SetAnswerTimeout(int ms) { m_answerTimeoutMs = ms; }
    int AnswerTimeout() const { return m_answerTimeoutMs; }

    static bool completesAnswer(char byte, bool extended);

signals:
    // kTransmitLed for every byte written, kReceiveLed for every chunk received.
    void trafficActivity(int led);
    // For the debug view, only while it is on: the bytes of a packet once written, each
    // received chunk as it comes, and the request to empty the four lists.
    void transmitViewUpdate(const QByteArray& bytes);
    void receiveViewUpdate(const QByteArray& bytes);
    void debugListsCleared();
    // The first bytes since the packet was written have come (the answer's time stamp).
    void answerBegan();
    // The exchange has ended (the answer handler has returned, or it was aborted) and done is
    // true again.
    void finished();

private:
    void ReceiveStep(const char* data, uint32_t size);
    void Finish();
    void PortFailed();
    void reportPort(const char* text, const std::string& reason);
    // The time the packet's bytes take on the line at the port's baud rate: the answer
    // cannot begin before its last byte has left.
    int lineTimeMs(size_t bytes) const;

    TCommPortDriver& m_driver;
    UserDialogs& m_ownDialogs;
    UserDialogs* m_dialogs;
    QTimer m_timoTimer;
    AnswerHandler m_answerHandler;
    bool m_done = true;
    bool m_active = false; // from the connect to the end of the exchange
    bool m_portFailed = false;
    int m_answerTimeoutMs = kAnswerTimeoutMs;
    bool m_extended = true;
    bool m_debugView = false;
    bool m_clearPerPacket = true;
    std::string m_bytesSent;
    std::string m_bytesReceived;
    size_t m_bytesDropped = 0;
    std::string m_sentNotShown;
    std::string m_receivedNotShown;
    EchoFilter m_echo;
    EchoFault m_echoFault;
    bool m_deferPortLoss = false;
    struct PortLoss {
        const char* text = nullptr; // the message kept back; nullptr: nothing kept
        std::string reason;
    };
    PortLoss m_portLoss;
};

} // namespace lmx

#pragma once
// The bus scan: one probe per network number through the packet exchange, each awaited for
// the scan's own time-out (much shorter than a transmission's), the answers judged as a
// transmission judges them. It runs from the event loop (start() returns at once) and ends
// only between two exchanges: a stop request lets the probe under way have its answer or its
// time-out first. While it runs it holds the exchange (its answer handler, framing and
// time-out, the port kept open); at the end framing and time-out are as it found them and no
// answer handler is left (a transmission registers its own).

#include "bus_scan.h"
#include "packets/exchange_recorder.h"

#include <QMetaObject>
#include <QObject>

#include <vector>

namespace lmx {

class PacketExchange;

class BusScanner : public QObject {
    Q_OBJECT

public:
    struct Setup {
        int from = kScanFirstNetNr;
        int to = kScanLastNetNr;
        int timeoutMs = kScanTimeoutMs;
        bool extended = true;
    };
    enum class End {
        Completed,
        Stopped,    // by requestStop()
        PortFailed, // the port did not open or went away (the exchange has said why)
    };

    explicit BusScanner(PacketExchange& exchange, QObject* parent = nullptr);
    // A scan still running is given up at once.
    ~BusScanner() override;
    BusScanner(const BusScanner&) = delete;
    BusScanner& operator=(const BusScanner&) = delete;

    // Why the setup cannot be scanned, in words; empty when it can.
    static std::string setupError(const Setup& setup);
    // Starts the scan; false when the setup is not valid, a scan runs or the exchange is busy.
    // A port that does not open ends it before start() returns (finished is emitted).
    bool start(const Setup& setup);
    // Ends the scan after the probe under way; with `now` at once, without its answer.
    void requestStop(bool now = false);

    bool running() const { return m_running; }
    int probed() const { return m_probed; }
    int total() const { return m_setup.to - m_setup.from + 1; }
    // Every number that answered, displays and noise alike.
    const std::vector<ScanAnswer>& answers() const { return m_answers; }
    int displaysAnswered() const;
    End end() const { return m_end; }
    // Every probe as an exchange record.
    const ExchangeRecorder& recorder() const { return m_recorder; }

signals:
    // A probe went to netNr; `probed` probes are done before it.
    void probing(int netNr, int probed);
    // answers()[index] came in.
    void answered(int index);
    void finished();

private:
    void probeNext();
    void probeDone();
    void answerReceived(const std::string& answer);
    void finish(End end, bool notify = true);

    PacketExchange& m_exchange;
    ExchangeRecorder m_recorder;
    Setup m_setup;
    std::vector<ScanAnswer> m_answers;
    QMetaObject::Connection m_done;
    int m_next = 0;
    int m_probed = 0;
    int m_savedTimeoutMs = 0;
    bool m_savedExtended = true;
    bool m_running = false;
    bool m_stop = false;
    End m_end = End::Completed;
};

} // namespace lmx

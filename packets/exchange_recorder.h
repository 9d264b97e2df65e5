#pragma once
// Follows transmissions as their packet observer and keeps an ExchangeRecord for every packet
// that went out, with the plan it was counted against, the progress and the summary. The
// window's Packets tab and status bar and lmx send's reports read it; its signals say when to
// look again.
//
// It can also be driven without the engine: begin() with a plan of one's own (a bus scan is
// one single-packet block per network number), then packetWritten() and answerReceived() for
// every exchange and transmissionEnded() at the end. With `append` several transmissions
// (one list to many displays) collect into one set of records, blocks and one summary.

#include "exchange_record.h"
#include "transmission/packet_observer.h"
#include "transmission/transmission_plan.h"

#include <QElapsedTimer>
#include <QObject>

#include <optional>

namespace lmx {

class ExchangeRecorder : public QObject, public PacketObserver {
    Q_OBJECT

public:
    struct Progress {
        int packet = 0;   // the packet under way, from 1 (its place in the plan)
        int planned = 0;  // packets counted before the first one went
        int failures = 0; // failed exchanges so far
    };

    explicit ExchangeRecorder(QObject* parent = nullptr);

    // Starts a transmission counted by `plan` in the given framing; without `append` the
    // records, plan and end of the one before are dropped.
    void begin(TransmissionPlan plan, bool extended, bool append = false);
    // Makes every later transmission started by the engine append (see begin).
    void setAppend(bool on) { m_append = on; }
    void clear();

    const std::vector<ExchangeRecord>& records() const { return m_records; }
    const TransmissionPlan& plan() const { return m_plan; }
    Progress progress() const { return m_progress; }
    ExchangeSummary summary() const { return summarize(m_records); }
    bool running() const { return m_running; }
    // How the last transmission ended; empty before the first one has ended.
    std::optional<TransmissionEnd> end() const { return m_end; }

    // PacketObserver
    void transmissionStarted(const TransmissionStart& start) override;
    void packetWritten(const std::string& packet, int netNr, uint8_t packetNr) override;
    void answerBegan() override;
    void answerReceived(const std::string& answer) override;
    void portLost(const std::string& packet, int netNr, uint8_t packetNr,
                  const std::string& why) override;
    void transmissionEnded(TransmissionEnd end) override;
    void lineFailed(const std::string& state, const std::string& detail) override;
    void blockSentAgain() override;

signals:
    // The records were dropped (clear(), or a transmission that does not append began).
    void cleared();
    void started();
    // A packet went out (progress() counts it) and a row for it is added (awaiting).
    void packetStarted(int index);
    // The exchange at `index` has been judged.
    void recordChanged(int index);
    void finished();

private:
    size_t blockFor(int netNr);
    double msSinceWritten() const;

    std::vector<ExchangeRecord> m_records;
    TransmissionPlan m_plan;
    Progress m_progress;
    size_t m_nextPlanned = 0;
    std::optional<size_t> m_unplannedBlock;
    bool m_extended = true;
    bool m_append = false;
    bool m_running = false;
    bool m_awaiting = false;
    std::optional<TransmissionEnd> m_end;
    // The block sent again last (index into the plan's blocks) and how often.
    std::optional<int> m_retryBlock;
    int m_retries = 0;
    QElapsedTimer m_clock;
    int64_t m_clockStartUs = 0; // the system time at m_clock's start, for the time stamps
    qint64 m_writtenNs = 0;
};

} // namespace lmx

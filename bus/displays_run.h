#pragma once
// One command list sent to many displays: one transmission per network number, in the order
// given, each with that number as the default network number (display blocks that name a
// number of their own keep it). A display that fails does not stop the others. A
// transmission that ends before its first packet went out (the port did not open, or the
// list aborts before it sends anything) ends the run: every later display would end the
// same way. The recorder gathers all transmissions into one set of records, blocks and
// summary, the displays never reached included (their blocks unsent), so that the reports
// cover all of them.
//
// A stop request lets the exchange under way finish (its answer is awaited and judged as
// usual) and then stops the transmission through the engine's own stop; no further display
// is started.

#include "packets/exchange_recorder.h"
#include "transmission/packet_observer.h"

#include <QMetaObject>
#include <QObject>

#include <string>
#include <vector>

namespace lmx {

class PacketExchange;
class TransmissionEngine;

class DisplaysRun : public QObject {
    Q_OBJECT

public:
    enum class Result { NotReached, Ok, Failed, Stopped };
    struct Display {
        int netNr = 0;
        Result result = Result::NotReached;
        int packets = 0;  // exchanges
        int failed = 0;   // failed exchanges
        std::string why;  // Failed: the last failure, in words
    };

    // The engine must tell `recorder` about its packets (its packet observer).
    DisplaysRun(TransmissionEngine& engine, PacketExchange& exchange, ExchangeRecorder& recorder,
                QObject* parent = nullptr);
    ~DisplaysRun() override;

    // Runs to the end; the engine's waits keep the event loop going meanwhile. False (nothing
    // sent) when a transmission or another run is under way.
    bool run(const std::vector<std::string>& commandLines, const std::vector<int>& netNrs,
             bool extended);
    void requestStop();

    bool running() const { return m_running; }
    bool stopping() const { return m_running && m_stop; }
    const std::vector<Display>& displays() const { return m_displays; }
    // The packets of the whole run if every answer is good, counted before the first goes
    // (the recorder counts one transmission at a time).
    int plannedPackets() const { return m_plannedPackets; }
    // Completed when every transmission ran to its end, Stopped after a stop request,
    // Aborted when one was ended early by a rule.
    TransmissionEnd end() const { return m_end; }
    bool allOk() const;

signals:
    void displayStarted(int index);
    void displayEnded(int index);

private:
    TransmissionEngine& m_engine;
    PacketExchange& m_exchange;
    ExchangeRecorder& m_recorder;
    std::vector<Display> m_displays;
    TransmissionEnd m_end = TransmissionEnd::Completed;
    int m_plannedPackets = 0;
    bool m_running = false;
    bool m_stop = false;
};

// "OK", "failed: no answer", "stopped", "not reached"
std::string displayResultText(const DisplaysRun::Display& display);
// One line per display, then "2 of 3 displays OK".
std::vector<std::string> displaysSummary(const std::vector<DisplaysRun::Display>& displays);

} // namespace lmx

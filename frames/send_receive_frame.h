#pragma once
// The "Transmit / Receive" frame: the receive box, which shows a line for every event of a
// transmission, and the transmission engine that writes them. Change Packet Size asks for the
// engine's packet size.

#include "receive_log_model.h"
#include "transmission/transmission_engine.h"

#include <QGroupBox>
#include <QPointer>
#include <QTimer>

class ParameterDialogs;
class TOvelListBox;
class UserDialogs;

class TSendReceiveFrame : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int kStartPacketSize = 240;

    TSendReceiveFrame(lmx::PacketExchange& exchange, UserDialogs& dialogs,
                      ParameterDialogs& parameters, const lmx::WallClock& wallClock,
                      const lmx::SteadyClock& steadyClock, QWidget* parent = nullptr);

    TOvelListBox* ReceiveBox() const { return m_box; }
    ReceiveLogModel& receiveLog() { return m_log; }
    const std::vector<std::string>& receiveLines() const { return m_log.lines(); }
    lmx::TransmissionEngine& engine() { return m_engine; }

    void ClearReceiveBox() { m_log.clearLines(); }
    // Change Packet Size: the one-value dialog on the engine's packet size; Ok sets it.
    void DoPacketSizeExecute();

    // The newest line is brought into sight at most this often while lines stream in.
    static constexpr int kFollowMs = 50;

private:
    void focusLost();
    void follow();

    ParameterDialogs& m_parameters;
    // Both go before the box: the engine writes to the log, the box shows it and is left
    // empty until it goes too.
    ReceiveLogModel m_log;
    lmx::TransmissionEngine m_engine;
    QPointer<TOvelListBox> m_box;
    QTimer m_followTimer;
    bool m_followPending = false;
};

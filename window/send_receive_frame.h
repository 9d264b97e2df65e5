#pragma once
// The "Transmit / Receive" frame: the receive box, which shows a line for every event of a
// transmission, and the transmission engine that writes them. Change Packet Size asks for the
// engine's packet size.

#include "receive_log_model.h"
#include "serial/transmission_engine.h"

#include <QGroupBox>
#include <QPointer>

#include <memory>

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
    ~TSendReceiveFrame() override;

    TOvelListBox* ReceiveBox() const { return m_box; }
    ReceiveLogModel& receiveLog() { return *m_log; }
    const std::vector<std::string>& receiveLines() const { return m_log->lines(); }
    lmx::TransmissionEngine& engine() { return *m_engine; }

    void ClearReceiveBox() { m_log->clearLines(); }
    // Change Packet Size: the one-value dialog on the engine's packet size; Ok sets it.
    void DoPacketSizeExecute();

private:
    void focusLost();

    ParameterDialogs& m_parameters;
    std::unique_ptr<ReceiveLogModel> m_log;
    std::unique_ptr<lmx::TransmissionEngine> m_engine;
    QPointer<TOvelListBox> m_box;
};

#pragma once
// The serial settings dialog: port name and baud rate can be changed, the frame format and
// flow control are shown fixed, and the line's behaviour on a bus (echo, RS-485 direction,
// reconnect) has a page of its own. OK checks and stores into the record; the dialog never
// touches the port (the caller applies the record).

#include "files/settings.h"
#include "platform/user_dialogs.h"
#include "port/system_ports.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QPushButton;
class QTabWidget;

namespace lmx {

class TSerialSettForm : public QDialog {
    Q_OBJECT

public:
    // systemPorts: what the port box offers after \\.\COM1 .. \\.\COM16, each with what
    // it is as its tool tip and, while it is the box's text, in the line below the box.
    TSerialSettForm(TSerialSettings& record, UserDialogs& dialogs,
                    const std::vector<PortChoice>& systemPorts, QWidget* parent = nullptr);
    TSerialSettForm(TSerialSettings& record, UserDialogs& dialogs, QWidget* parent = nullptr);

    QTabWidget* PageControl() const { return m_pages; }
    QComboBox* PortComboBox() const { return m_port; }
    QLabel* PortAboutLabel() const { return m_portAbout; }
    QComboBox* BaudRateComboBox() const { return m_baudRate; }
    QComboBox* DataBitsComboBox() const { return m_dataBits; }
    QComboBox* ParityComboBox() const { return m_parity; }
    QComboBox* StopBitsComboBox() const { return m_stopBits; }
    QComboBox* HwFlowComboBox() const { return m_hwFlow; }
    QComboBox* SwFlowComboBox() const { return m_swFlow; }
    QComboBox* DTRControlComboBox() const { return m_dtrControl; }
    // The page "Bus and Line": the line's echo, the system's RS-485 direction with its
    // delays, and the seconds a lost port is tried again.
    QComboBox* EchoComboBox() const { return m_echo; }
    QCheckBox* Rs485CheckBox() const { return m_rs485; }
    QSpinBox* Rs485BeforeSpinBox() const { return m_rs485Before; }
    QSpinBox* Rs485AfterSpinBox() const { return m_rs485After; }
    QSpinBox* ReconnectSpinBox() const { return m_reconnect; }
    // Shown while the port box names a port that does not take all of these settings (a
    // device server, tcp://HOST:PORT, or a COM port server, rfc2217://HOST:PORT), saying what
    // it ignores; the values are kept for a local port.
    QLabel* NetworkPortNote() const { return m_networkNote; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    void OkButtonClick();

private:
    QWidget* makeLinePage(const TSerialSettings& record);

    TSerialSettings& m_record;
    UserDialogs& m_dialogs;
    QTabWidget* m_pages = nullptr;
    QComboBox* m_port = nullptr;
    QLabel* m_portAbout = nullptr;
    QComboBox* m_baudRate = nullptr;
    QComboBox* m_dataBits = nullptr;
    QComboBox* m_parity = nullptr;
    QComboBox* m_stopBits = nullptr;
    QComboBox* m_hwFlow = nullptr;
    QComboBox* m_swFlow = nullptr;
    QComboBox* m_dtrControl = nullptr;
    QComboBox* m_echo = nullptr;
    QCheckBox* m_rs485 = nullptr;
    QSpinBox* m_rs485Before = nullptr;
    QSpinBox* m_rs485After = nullptr;
    QSpinBox* m_reconnect = nullptr;
    QLabel* m_networkNote = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace lmx

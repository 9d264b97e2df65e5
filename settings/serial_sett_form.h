#pragma once
// The serial settings dialog: port name and baud rate can be changed, the frame format and
// flow control are shown fixed. OK checks and stores into the record; the dialog never
// touches the port (the caller applies the record).

#include "files/settings.h"
#include "platform/user_dialogs.h"
#include "port/system_ports.h"

#include <QDialog>

class QComboBox;
class QLabel;
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
    // Shown while the port box names a device server (tcp://HOST:PORT): the line settings
    // are the server's, and the values here are kept for a local port.
    QLabel* NetworkPortNote() const { return m_networkNote; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    void OkButtonClick();

private:
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
    QLabel* m_networkNote = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace lmx

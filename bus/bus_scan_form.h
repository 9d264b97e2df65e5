#pragma once
// Settings > Scan Bus...: the range of network numbers, the time-out per number, Scan / Stop,
// the progress, and the displays that answered. Choosing one and OK makes its number the
// display settings' network number (which takes 0..32; a display above that can only be
// chosen for a display block, and the dialog says so). Closing while a scan runs stops it
// first, after the probe under way.

#include "bus_scanner.h"
#include "files/settings.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace lmx {

class BusScanForm : public QDialog {
    Q_OBJECT

public:
    BusScanForm(TDisplaySettings& record, PacketExchange& exchange, bool extended,
                QWidget* parent = nullptr);

    QSpinBox* FromSpin() const { return m_from; }
    QSpinBox* ToSpin() const { return m_to; }
    QSpinBox* TimeoutSpin() const { return m_timeout; }
    QPushButton* ScanButton() const { return m_scan; }
    QProgressBar* Progress() const { return m_progress; }
    QLabel* StatusLabel() const { return m_status; }
    QTreeWidget* AnswerList() const { return m_list; }
    QLabel* NoteLabel() const { return m_note; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    BusScanner& scanner() { return m_scanner; }

    void ScanButtonClick();
    void OkButtonClick();
    void reject() override;

private:
    void addAnswer(int index);
    void scanEnded();
    void updateState();
    int chosenNetNr() const; // -1 when no row is chosen

    TDisplaySettings& m_record;
    BusScanner m_scanner;
    bool m_extended;
    bool m_closeWhenDone = false;
    QSpinBox* m_from;
    QSpinBox* m_to;
    QSpinBox* m_timeout;
    QPushButton* m_scan;
    QProgressBar* m_progress;
    QLabel* m_status;
    QTreeWidget* m_list;
    QLabel* m_note;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace lmx

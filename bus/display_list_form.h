#pragma once
// File > Transmit to Displays...: asks for the network numbers to send the list to, as
// numbers and ranges ("1-12,18"). What the entry stands for, or why it is no list, shows
// beneath it as it is typed; OK takes only a list and keeps it in the display record.

#include "files/settings.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lmx {

class DisplayListForm : public QDialog {
    Q_OBJECT

public:
    explicit DisplayListForm(TDisplaySettings& record, QWidget* parent = nullptr);

    QLineEdit* ListEdit() const { return m_edit; }
    QLabel* NoteLabel() const { return m_note; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    void OkButtonClick();

private:
    void entryChanged();

    TDisplaySettings& m_record;
    QLineEdit* m_edit;
    QLabel* m_note;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace lmx

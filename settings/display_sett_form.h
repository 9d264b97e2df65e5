#pragma once
// The display settings dialog: the network number of the addressed display. Ok stores the
// field's value within 0..32; Cancel stores nothing.

#include "files/settings.h"

#include <QDialog>
#include <QSpinBox>

class QLabel;
class QPushButton;

namespace lmx {

// The network number field: digits and a sign, at most two characters; a value outside
// 0..32 counts as the nearer limit and a text that is not a number as 0.
class NetNrSpinBox : public QSpinBox {
    Q_OBJECT

public:
    explicit NetNrSpinBox(QWidget* parent = nullptr);

    // The value the present text stands for (typing may not have been taken over yet).
    int entryValue() const;

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    int valueFromText(const QString& text) const override;
    void fixup(QString& text) const override;
};

class TDisplaySettForm : public QDialog {
    Q_OBJECT

public:
    explicit TDisplaySettForm(TDisplaySettings& record, QWidget* parent = nullptr);

    NetNrSpinBox* NetSpinEdit() const { return m_netSpin; }
    QLabel* NetLabel() const { return m_label; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    void OkButtonClick();

private:
    TDisplaySettings& m_record;
    NetNrSpinBox* m_netSpin = nullptr;
    QLabel* m_label = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace lmx

#pragma once
// The hex data entry dialog: one field of hex digit pairs. Created per use with its
// THexData; on Ok the record's HexData holds the normalised text ("22 33 AA").

#include "hex_entry_rules.h"

#include <QDialog>

class FieldEdit;
class QLabel;
class QPushButton;
class UserDialogs;

class TEditHexForm : public QDialog {
    Q_OBJECT
public:
    TEditHexForm(THexData& data, UserDialogs& dialogs, QWidget* parent = nullptr);

    FieldEdit* field() const { return m_field; }
    QLabel* headerLabel() const { return m_label; }
    QPushButton* okButton() const { return m_ok; }
    const HexEntryRules& rules() const { return m_rules; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fieldEdited();
    void confirm();
    void refresh();

    THexData& m_data;
    HexEntryRules m_rules;
    QLabel* m_label;
    FieldEdit* m_field;
    QPushButton* m_ok;
};

#pragma once
// The frame the value dialogs share: labelled fields with spins (label above field) in a
// grid, one red message line, an Ok button and a Cancel button (without a window manager a
// dialog has no close button: Cancel is then the only way out that changes nothing). A subclass connects the fields to its rules
// through the hooks below.

#include "field_keys.h"

#include <QDialog>

#include <string>
#include <vector>

class FieldEdit;
class QLabel;
class QPushButton;
class SpinButtons;
class UserDialogs;

class FieldGridDialog : public QDialog {
    Q_OBJECT
public:
    size_t fieldCount() const { return m_fields.size(); }
    FieldEdit* field(size_t i) const { return m_fields.at(i); }
    QLabel* fieldLabel(size_t i) const { return m_labels.at(i); }
    SpinButtons* spin(size_t i) const { return m_spins.at(i); }
    QLabel* messageLabel() const { return m_message; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    // `columns` cells per grid row. With `confirmKeys`, Enter (released in a field) confirms
    // when Ok is enabled. Escape (released in a field) cancels, as Cancel does.
    FieldGridDialog(UserDialogs& dialogs, size_t fields, int columns, bool confirmKeys,
                    QWidget* parent);

    virtual KeyOutcome fieldKey(size_t i, char c) const = 0;
    virtual void fieldEdited(size_t i, const std::string& text) = 0;
    virtual void fieldUp(size_t i) = 0;
    virtual void fieldDown(size_t i) = 0;
    virtual std::string fieldText(size_t i) const = 0;
    virtual bool fieldInvalid(size_t i) const = 0;
    virtual bool okEnabled() const = 0;
    virtual std::string message() const = 0;
    // Called by Ok (and Enter) while Ok is enabled: fill the results, then accept().
    virtual void confirmed() = 0;

    // Shows every field's text, its colour, the message line and Ok from the rules.
    void refresh();
    // Labels, visibility and widths; a hidden cell hides its label, field and spin.
    void setCell(size_t i, const std::string& label, bool visible, int maxLength);
    void showEvent(QShowEvent* event) override;
    // A new title or font widens the dialog as far as its caption needs.
    void changeEvent(QEvent* event) override;

private:
    void confirm();

    std::vector<QLabel*> m_labels;
    std::vector<FieldEdit*> m_fields;
    std::vector<SpinButtons*> m_spins;
    QLabel* m_message;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_refreshing = false;
};

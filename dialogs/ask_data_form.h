#pragma once
// The Insert Data dialog: one text or hex field with a spin for hex values. Created once and
// reused; every call sets its label and field again. start() sets it up without showing it
// (tests then show() it and drive it); AskValue() runs it modally.

#include "ask_data_rules.h"

#include <QDialog>

class FieldEdit;
class QLabel;
class QPushButton;
class SpinButtons;
class UserDialogs;

class TAskDataFrm : public QDialog {
    Q_OBJECT
public:
    explicit TAskDataFrm(UserDialogs& dialogs, QWidget* parent = nullptr);

    // Sets the dialog up for one call; false for an AskMode outside 0..8.
    bool start(const AskValueRequest& request);
    // start(), then modal; the entered text on Ok, nothing on Cancel, Escape or closing.
    AskResult AskValue(const AskValueRequest& request);
    // What the last Ok confirmed (not confirmed after Cancel).
    const AskResult& answer() const { return m_answer; }

    const AskDataRules& rules() const { return m_rules; }
    FieldEdit* field() const { return m_field; }
    QLabel* captionLabel() const { return m_caption; }
    QLabel* messageLabel() const { return m_message; }
    SpinButtons* spin() const { return m_spin; }
    QPushButton* okButton() const { return m_ok; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fieldEdited(const QString& text);
    void spinUp();
    void spinDown();
    void confirm();
    void refresh();

    AskDataRules m_rules;
    AskResult m_answer;
    QLabel* m_caption;
    FieldEdit* m_field;
    SpinButtons* m_spin;
    QLabel* m_message;
    QPushButton* m_ok;
};

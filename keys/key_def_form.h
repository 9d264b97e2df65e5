#pragma once
// The key definition dialog: the key's caption (its identifier, fixed), the command chosen
// from the list $00, $80..$FF, the number of parameters that code range fixes, and the
// parameter text. Created per use on one key; Ok fills the key. start() sets it up without
// showing it (tests then show() it and drive it); run() shows it modally.

#include "key_def_rules.h"
#include "programmable_keys.h"

#include <QDialog>

class FieldEdit;
class QComboBox;
class QLineEdit;
class QPushButton;
class UserDialogs;

class TKeyDefForm : public QDialog {
    Q_OBJECT
public:
    TKeyDefForm(UserDialogs& dialogs, lmx::TKeyDefinition& key, QWidget* parent = nullptr);

    void start();
    // start(), then modal; true when Ok filled the key.
    bool run();

    const KeyDefRules& rules() const { return m_rules; }
    QLineEdit* KeyTxtEdit() const { return m_caption; }
    QComboBox* KeyCommandBox() const { return m_command; }
    QComboBox* ParameterBox() const { return m_kind; }
    FieldEdit* KeyParamEdit() const { return m_param; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void commandChosen(int index);
    void paramEdited(const QString& text);
    void confirm();
    void showParameter();
    void refresh();

    UserDialogs& m_dialogs;
    lmx::TKeyDefinition& m_key;
    KeyDefRules m_rules;
    QLineEdit* m_caption;
    QComboBox* m_command;
    QComboBox* m_kind;
    FieldEdit* m_param;
    QPushButton* m_ok;
};

// The program's way of asking for a key definition: a TKeyDefForm per use.
class QtKeyDefinitionAsker : public KeyDefinitionAsker {
public:
    QtKeyDefinitionAsker(UserDialogs& dialogs, QWidget* parent) : m_dialogs(dialogs), m_parent(parent) {}
    bool defineKey(lmx::TKeyDefinition& key) override;

private:
    UserDialogs& m_dialogs;
    QWidget* m_parent;
};

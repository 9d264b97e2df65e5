#pragma once
// A single-line field whose typed characters pass a key filter: refused keys beep, accepted
// ones may be turned to upper case. Enter and Escape act on release (the dialog connects
// enterReleased/escapeReleased as it needs). Clipboard shortcuts and navigation keys work as
// in any field; the dialog's rules check whatever text results.

#include "field_keys.h"

#include <QLineEdit>

#include <functional>
#include <string>

class UserDialogs;

class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit FieldEdit(UserDialogs& dialogs, QWidget* parent = nullptr);

    void setKeyFilter(std::function<KeyOutcome(char)> filter) { m_filter = std::move(filter); }
    // Invalid text is drawn red, valid text black.
    void setInvalid(bool invalid);
    bool isInvalid() const { return m_invalid; }

    // The text as Latin-1 bytes; characters beyond Latin-1 become '?'.
    std::string latin1Text() const;
    // Shows `text` without emitting textEdited; keeps the cursor where it was when it can.
    void showText(const std::string& text);

signals:
    void enterReleased();
    void escapeReleased();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    UserDialogs& m_dialogs;
    std::function<KeyOutcome(char)> m_filter;
    bool m_invalid = false;
};

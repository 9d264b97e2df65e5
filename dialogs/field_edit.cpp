#include "field_edit.h"

#include "platform/latin1.h"
#include "platform/user_dialogs.h"

#include <QKeyEvent>
#include <QPalette>

FieldEdit::FieldEdit(UserDialogs& dialogs, QWidget* parent) : QLineEdit(parent), m_dialogs(dialogs)
{
    setInvalid(false);
}

void FieldEdit::setInvalid(bool invalid)
{
    m_invalid = invalid;
    QPalette p = palette();
    p.setColor(QPalette::Text, invalid ? QColor(Qt::red) : QColor(Qt::black));
    setPalette(p);
}

std::string FieldEdit::latin1Text() const
{
    return text().toLatin1().toStdString();
}

void FieldEdit::showText(const std::string& text)
{
    const QString shown = latin1(text);
    if (shown == this->text())
        return;
    const int cursor = cursorPosition();
    setText(shown);
    setCursorPosition(qMin(cursor, static_cast<int>(shown.size())));
}

void FieldEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        event->accept(); // acts on release
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter never reaches the dialog's default button: the field decides on release.
        if (m_filter && !m_filter(keychar::Enter).accepted)
            m_dialogs.beep();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (!m_filter || shortcut || typed.isEmpty() || key == Qt::Key_Backspace ||
        key == Qt::Key_Delete || typed.at(0).unicode() < 0x20 || typed.at(0).unicode() == 0x7F) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const char16_t code = typed.at(0).unicode();
    const KeyOutcome outcome = code <= 0xFF ? m_filter(static_cast<char>(code)) : KeyOutcome{};
    if (!outcome.accepted) {
        m_dialogs.beep();
        event->accept();
        return;
    }
    if (static_cast<unsigned char>(outcome.ch) == code) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent changed(event->type(), event->key(), event->modifiers(),
                      QString(QChar(static_cast<unsigned char>(outcome.ch))), event->isAutoRepeat(),
                      static_cast<ushort>(event->count()));
    QLineEdit::keyPressEvent(&changed);
    event->setAccepted(changed.isAccepted());
}

void FieldEdit::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) {
        QLineEdit::keyReleaseEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        emit enterReleased();
        return;
    case Qt::Key_Escape:
        event->accept();
        emit escapeReleased();
        return;
    default:
        QLineEdit::keyReleaseEvent(event);
    }
}

#include "key_repeat_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

} // namespace

KeyRepeatFilter::KeyRepeatFilter(QWidget* window) : QObject(window), m_window(window)
{
    qApp->installEventFilter(this);
}

KeyRepeatFilter::~KeyRepeatFilter()
{
    qApp->removeEventFilter(this);
}

bool KeyRepeatFilter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        // A key event travels from the focused control up to its parents; it is judged once,
        // where it starts.
        const QWidget* focus = QApplication::focusWidget();
        const bool start = widget && (widget == focus || (!focus && widget->isWindow()));
        if (!start || !m_window || widget->window() != m_window || isModifierKey(key->key()))
            break;
        const bool repeat = key->isAutoRepeat()
                         || (key->timestamp() != 0 && m_releasedKey == key->key()
                             && m_releasedAt == key->timestamp());
        if (m_held || repeat) {
            m_held = true;
            return true;
        }
        m_held = true;
        break;
    }
    case QEvent::KeyRelease: {
        // A release anywhere ends the hold: the key may have opened a dialog that got it.
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && !isModifierKey(key->key())) {
            m_held = false;
            m_releasedKey = key->key();
            m_releasedAt = key->timestamp();
        }
        break;
    }
    case QEvent::ApplicationDeactivate:
    case QEvent::WindowDeactivate:
        // The release of a key held while the window lost the focus never arrives here.
        if (watched == m_window || event->type() == QEvent::ApplicationDeactivate)
            m_held = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

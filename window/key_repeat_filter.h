#pragma once
// Holding a key acts once on the focused control of the window: a key-down while another key
// is held (the system's repeat, or a second key) is dropped before the control sees it. The X
// server repeats a held key as a release and a press with one time stamp, not always marked
// as a repeat: such a pair counts as the key still held.
// Shortcuts are matched before this step, so they are not affected; modifier keys do not
// count as held keys.

#include <QObject>
#include <QPointer>

class QWidget;

class KeyRepeatFilter : public QObject {
    Q_OBJECT
public:
    // Watches the key events of the application for the controls of `window`.
    explicit KeyRepeatFilter(QWidget* window);
    ~KeyRepeatFilter() override;

    bool keyHeld() const { return m_held; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    bool m_held = false;
    // The last key released, and when: a press of it with the same time stamp is a repeat
    // (events made without a time stamp carry 0 and never match).
    int m_releasedKey = 0;
    quint64 m_releasedAt = 0;
};

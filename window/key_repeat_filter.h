#pragma once
// Holding a key acts once on the focused control of the window: a key-down while another key
// is held (the system's repeat, or a second key) is dropped before the control sees it.
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
};

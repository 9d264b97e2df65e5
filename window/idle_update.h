#pragma once
// Runs the window's enabling step once the user interface is idle again: after every input
// or focus event of the application (once for a burst of them), when a modal dialog has
// returned, and whenever asked.

#include <QObject>
#include <QTimer>

#include <functional>

class IdleUpdate : public QObject {
    Q_OBJECT
public:
    explicit IdleUpdate(std::function<void()> step, QObject* parent = nullptr);
    ~IdleUpdate() override;

    // Runs the step when the events now queued have been handled.
    void schedule();
    // Runs it now (and drops a scheduled run).
    void runNow();
    bool pending() const { return m_timer.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_step;
    QTimer m_timer;
};

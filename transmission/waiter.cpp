#include "waiter.h"

#include <QEventLoop>
#include <QTimer>

namespace lmx {

EventLoopWaiter::EventLoopWaiter(const SteadyClock& clock) : m_clock(clock) {}

void EventLoopWaiter::wait(int ms)
{
    if (ms <= 0)
        return;
    const int64_t deadline = m_clock.nowMs() + ms;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    // A timer may fire a little early; the steady clock decides when the wait is over.
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        const int64_t left = deadline - m_clock.nowMs();
        if (left <= 0)
            loop.quit();
        else
            timer.start(static_cast<int>(left));
    });
    timer.start(ms);
    m_loops.push_back(&loop);
    loop.exec();
    m_loops.pop_back();
}

void EventLoopWaiter::stop()
{
    for (QEventLoop* loop : m_loops)
        loop->quit();
}

} // namespace lmx

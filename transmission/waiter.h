#pragma once
// How the transmission engine lets time pass between packets. The program's waiter runs a
// nested event loop until the time is up, so timers, serial input and user input go on
// meanwhile; a test's waiter moves its own clock on at once.

#include "platform/steady_clock.h"

#include <vector>

class QEventLoop;

namespace lmx {

class Waiter {
public:
    virtual ~Waiter() = default;
    // Returns once `ms` milliseconds have passed, or as soon as stop() is called meanwhile.
    virtual void wait(int ms) = 0;
    // Ends every wait in progress at once; nothing happens when none runs.
    virtual void stop() = 0;
};

class EventLoopWaiter : public Waiter {
public:
    explicit EventLoopWaiter(const SteadyClock& clock = SystemSteadyClock::instance());

    void wait(int ms) override;
    void stop() override;

private:
    const SteadyClock& m_clock;
    std::vector<QEventLoop*> m_loops; // the waits running now, innermost last
};

} // namespace lmx

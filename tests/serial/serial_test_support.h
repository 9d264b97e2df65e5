#pragma once
// Shared by the serial tests: waiting on a condition with a deadline while the event loop
// runs, and a driver on a fake backend.

#include "fake_serial_backend.h"
#include "serial/comm_port_driver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>
#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace serialtest {

// Runs the event loop until `condition` holds or `timeoutMs` have passed.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

// Runs what is due now (zero-time timers, posted events) and returns.
inline void runPending()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// A driver that owns a fake backend; the fake stays reachable through `fake`.
struct FakeDriver {
    ManualClock clock;
    FakeSerialBackend* fake = nullptr;
    std::unique_ptr<lmx::TCommPortDriver> driver;

    FakeDriver()
    {
        auto backend = std::make_unique<FakeSerialBackend>();
        fake = backend.get();
        driver = std::make_unique<lmx::TCommPortDriver>(std::move(backend), clock);
    }
};

} // namespace serialtest

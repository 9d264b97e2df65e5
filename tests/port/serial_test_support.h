#pragma once
// Shared by the serial tests: the waits of every Qt test, and a driver on a fake backend.

#include "fake_serial_backend.h"
#include "port/comm_port_driver.h"
#include "tests/support/qt_wait.h"

#include <memory>

namespace serialtest {

using testsupport::runPending;
using testsupport::waitUntil;

// A driver that owns a fake backend; the fake stays reachable through `fake`.
template <class Backend>
struct FakeDriverOn {
    ManualClock clock;
    Backend* fake = nullptr;
    std::unique_ptr<lmx::TCommPortDriver> driver;

    FakeDriverOn()
    {
        auto backend = std::make_unique<Backend>();
        fake = backend.get();
        driver = std::make_unique<lmx::TCommPortDriver>(std::move(backend), clock);
    }
};
using FakeDriver = FakeDriverOn<FakeSerialBackend>;

} // namespace serialtest

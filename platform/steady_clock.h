#pragma once
// A steady millisecond clock, read through an interface so that tests can move time on
// instead of waiting for it.

#include <cstdint>

namespace lmx {

class SteadyClock {
public:
    virtual ~SteadyClock() = default;
    // Milliseconds since an arbitrary fixed point; never goes back.
    virtual int64_t nowMs() const = 0;
};

class SystemSteadyClock : public SteadyClock {
public:
    int64_t nowMs() const override;
    // One instance is enough for the whole program.
    static const SystemSteadyClock& instance();
};

} // namespace lmx

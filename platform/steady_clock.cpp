#include "steady_clock.h"

#include <chrono>

namespace lmx {

int64_t SystemSteadyClock::nowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

const SystemSteadyClock& SystemSteadyClock::instance()
{
    static const SystemSteadyClock clock;
    return clock;
}

} // namespace lmx

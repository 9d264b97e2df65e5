#pragma once
// Shared by the engine tests: command line builders, a receive box that records its lines,
// a wall clock that stands still, and a waiter that takes no time.

#include "platform/wall_clock.h"
#include "protocol/vocabulary.h"
#include "transmission/transmission_reports.h"
#include "transmission/waiter.h"

#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

namespace enginetest {

using Lines = std::vector<std::string>;

inline std::string sot(const char* digits) { return std::string("\x01") + digits; }
inline const std::string kEot = "\x04";
inline std::string fpack(int ms) { return "\x07" + lmx::waitDigits(ms); }
inline std::string npack(int ms) { return "\x08" + lmx::waitDigits(ms); }
inline const std::string kT = "14:02:07:315";

// What `f` makes of each of `items`, in order.
template <class Items, class F>
auto collect(const Items& items, F f)
{
    std::vector<std::decay_t<decltype(f(*std::begin(items)))>> out;
    for (const auto& item : items)
        out.push_back(f(item));
    return out;
}

struct RecordingLog : lmx::ReceiveLog {
    void clear() override { lines.clear(); }
    void addLine(const std::string& line) override { lines.push_back(line); }
    Lines lines;
};

// 14:02:07.315 on 2024-03-31.
class TestWallClock : public lmx::WallClock {
public:
    lmx::LocalDateTime now() const override { return {2024, 3, 31, 14, 2, 7, 315}; }
};

// Waits without taking any time: its clock moves on by the time asked, and an action queued
// for a moment on the way runs there, so a test can call in or stop in the middle of a wait.
class ManualWaiter : public lmx::Waiter {
public:
    std::vector<int> waits; // every wait asked, in order
    long long now = 0;      // milliseconds waited so far

    void after(long long ms, std::function<void()> action)
    {
        m_actions.emplace(now + ms, std::move(action));
    }
    void wait(int ms) override
    {
        waits.push_back(ms);
        const long long end = now + ms;
        m_stopped = false;
        while (!m_stopped && !m_actions.empty() && m_actions.begin()->first <= end) {
            auto next = m_actions.extract(m_actions.begin());
            now = next.key();
            next.mapped()();
        }
        if (!m_stopped)
            now = end;
    }
    void stop() override { m_stopped = true; }

private:
    std::multimap<long long, std::function<void()>> m_actions;
    bool m_stopped = false;
};

} // namespace enginetest

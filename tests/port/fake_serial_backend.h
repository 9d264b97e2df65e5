#pragma once
// A serial backend that records every call and can refuse any step, and a clock the test
// moves by hand. The receive queue is a string the test fills.

#include "platform/steady_clock.h"
#include "port/serial_backend.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace serialtest {

class ManualClock : public lmx::SteadyClock {
public:
    int64_t nowMs() const override { return m_now += m_step; }
    void advance(int64_t ms) { m_now += ms; }
    // Every reading moves the clock on, so that a loop waiting for a time-out ends.
    void setStepPerReading(int64_t ms) { m_step = ms; }

private:
    mutable int64_t m_now = 1000;
    int64_t m_step = 0;
};

class FakeSerialBackend : public lmx::SerialBackend {
public:
    std::set<std::string> refused; // step names: "open", "read", "purge", ...
    std::string incoming;          // the receive queue
    uint32_t outQueued = 0;        // bytes the transmit queue holds
    uint32_t writeLimit = std::numeric_limits<uint32_t>::max(); // most bytes one write takes
    bool holdWritten = false;      // written bytes stay in the transmit queue
    lmx::TLineStatusSet lines;
    ManualClock* clock = nullptr;  // when set, every write takes msPerWrite
    int64_t msPerWrite = 0;

    std::vector<std::string> calls; // configuration steps: "open NAME", "purge in out", "close"
    std::vector<lmx::LineSettings> appliedSettings;
    std::vector<uint32_t> readSizes;
    std::vector<std::string> writes;
    std::string written;
    bool isOpen = false;

    void arrive(const std::string& bytes)
    {
        incoming += bytes;
        notifyDataArrived();
    }
    void failPort() { notifyFailure(); }

    bool open(const std::string& name) override
    {
        return isOpen = step("open " + name, "open");
    }
    bool applyLineSettings(const lmx::LineSettings& settings) override
    {
        appliedSettings.push_back(settings);
        return step("applyLineSettings");
    }
    bool purge(bool in, bool out) override
    {
        if (!step(std::string("purge") + (in ? " in" : "") + (out ? " out" : ""), "purge"))
            return false;
        if (in)
            incoming.clear();
        if (out)
            outQueued = 0;
        return true;
    }
    bool setQueueSizes(uint32_t in, uint32_t out) override
    {
        return step("setQueueSizes " + std::to_string(in) + " " + std::to_string(out), "setQueueSizes");
    }
    bool setTimeouts(const lmx::CommTimeouts&) override { return step("setTimeouts"); }
    bool queued(uint32_t& in, uint32_t& out) override
    {
        in = static_cast<uint32_t>(incoming.size());
        out = outQueued;
        return !refused.count("queued");
    }
    int64_t read(char* buffer, uint32_t size) override
    {
        readSizes.push_back(size);
        if (refused.count("read"))
            return -1;
        const size_t n = incoming.copy(buffer, size);
        incoming.erase(0, n);
        return static_cast<int64_t>(n);
    }
    int64_t write(const char* data, uint32_t size) override
    {
        const uint32_t n = std::min(size, writeLimit);
        if (n == 0)
            return 0;
        writes.emplace_back(data, n);
        written.append(data, n);
        outQueued += holdWritten ? n : 0;
        if (clock)
            clock->advance(msPerWrite);
        return n;
    }
    bool modemLines(lmx::TLineStatusSet& out) override
    {
        out = lines;
        return !refused.count("modemLines");
    }
    void close() override
    {
        calls.push_back("close");
        isOpen = false;
    }

private:
    bool step(const std::string& call, const std::string& name = {})
    {
        calls.push_back(call);
        return !refused.count(name.empty() ? call : name);
    }
};

} // namespace serialtest

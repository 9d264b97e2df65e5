#pragma once
// A serial backend that records every call and can refuse any step, and a clock the test
// moves by hand. The receive queue is a string the test fills; the transmit queue drains
// only when the test says so.

#include "serial/serial_backend.h"
#include "serial/steady_clock.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace serialtest {

class ManualClock : public lmx::SteadyClock {
public:
    int64_t nowMs() const override
    {
        m_now += m_step;
        return m_now;
    }
    void advance(int64_t ms) { m_now += ms; }
    // Every reading moves the clock on by `ms`, so that a loop waiting for a time-out ends.
    void setStepPerReading(int64_t ms) { m_step = ms; }

private:
    mutable int64_t m_now = 1000;
    int64_t m_step = 0;
};

class FakeSerialBackend : public lmx::SerialBackend {
public:
    // Steps that can be refused: "open", "applyLineSettings", "purge", "setQueueSizes",
    // "setTimeouts", "queued", "read", "write", "modemLines".
    std::set<std::string> refused;
    std::string incoming;          // the receive queue
    uint32_t outQueued = 0;        // bytes the transmit queue holds
    uint32_t writeLimit = std::numeric_limits<uint32_t>::max(); // most bytes one write takes
    bool holdWritten = false;      // written bytes stay in the transmit queue
    lmx::TLineStatusSet lines;
    ManualClock* clock = nullptr;  // when set, every accepted write takes msPerWrite
    int64_t msPerWrite = 0;

    // Configuration steps in order ("open \\.\COM1", "purge in out", "close", ...).
    std::vector<std::string> calls;
    std::vector<lmx::LineSettings> appliedSettings;
    std::vector<uint32_t> readSizes;
    std::vector<std::string> writes; // one entry per accepted write
    std::string written;
    std::string openedName;
    bool isOpen = false;

    // Bytes arrive and the port says so.
    void arrive(const std::string& bytes)
    {
        incoming += bytes;
        notifyDataArrived();
    }
    void failPort() { notifyFailure(); }
    void clearCalls() { calls.clear(); }

    bool open(const std::string& name) override
    {
        calls.push_back("open " + name);
        if (refused.count("open"))
            return false;
        openedName = name;
        isOpen = true;
        return true;
    }
    bool applyLineSettings(const lmx::LineSettings& settings) override
    {
        calls.push_back("applyLineSettings");
        appliedSettings.push_back(settings);
        return !refused.count("applyLineSettings");
    }
    bool purge(bool in, bool out) override
    {
        calls.push_back(std::string("purge") + (in ? " in" : "") + (out ? " out" : ""));
        if (refused.count("purge"))
            return false;
        if (in)
            incoming.clear();
        if (out)
            outQueued = 0;
        return true;
    }
    bool setQueueSizes(uint32_t in, uint32_t out) override
    {
        calls.push_back("setQueueSizes " + std::to_string(in) + " " + std::to_string(out));
        return !refused.count("setQueueSizes");
    }
    bool setTimeouts(const lmx::CommTimeouts&) override
    {
        calls.push_back("setTimeouts");
        return !refused.count("setTimeouts");
    }
    bool queued(uint32_t& in, uint32_t& out) override
    {
        if (refused.count("queued"))
            return false;
        in = static_cast<uint32_t>(incoming.size());
        out = outQueued;
        return true;
    }
    int64_t read(char* buffer, uint32_t size) override
    {
        readSizes.push_back(size);
        if (refused.count("read"))
            return -1;
        const size_t n = std::min<size_t>(size, incoming.size());
        incoming.copy(buffer, n);
        incoming.erase(0, n);
        return static_cast<int64_t>(n);
    }
    int64_t write(const char* data, uint32_t size) override
    {
        if (refused.count("write"))
            return -1;
        const uint32_t n = std::min(size, writeLimit);
        if (n == 0)
            return 0;
        writes.emplace_back(data, n);
        written.append(data, n);
        if (holdWritten)
            outQueued += n;
        if (clock)
            clock->advance(msPerWrite);
        return n;
    }
    bool modemLines(lmx::TLineStatusSet& out) override
    {
        if (refused.count("modemLines"))
            return false;
        out = lines;
        return true;
    }
    void close() override
    {
        calls.push_back("close");
        isOpen = false;
    }
};

} // namespace serialtest

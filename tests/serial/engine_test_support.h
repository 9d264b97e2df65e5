#pragma once
// Shared by the engine tests: command line builders, a receive box that records its lines
// and a wall clock that stands still or runs on the steady clock.

#include "files/wall_clock.h"
#include "protocol/vocabulary.h"
#include "serial/transmission_reports.h"

#include <QElapsedTimer>

#include <cstdio>

#include <functional>
#include <string>
#include <vector>

namespace enginetest {

using Lines = std::vector<std::string>;

inline std::string sot(const char* digits) { return std::string("\x01") + digits; }
inline const std::string kEot = "\x04";
inline std::string fpack(int ms) { return "\x07" + lmx::waitDigits(ms); }
inline std::string npack(int ms) { return "\x08" + lmx::waitDigits(ms); }

class RecordingLog : public lmx::ReceiveLog {
public:
    void clear() override
    {
        lines.clear();
        ++clears;
    }
    void addLine(const std::string& line) override
    {
        lines.push_back(line);
        if (onLine)
            onLine(line);
    }
    Lines lines;
    int clears = 0;
    std::function<void(const std::string&)> onLine;
};

// 14:02:07.315 on 2024-03-31; with run() it moves on with the steady clock from there.
class TestWallClock : public lmx::WallClock {
public:
    void run() { m_timer.start(); }
    lmx::LocalDateTime now() const override
    {
        lmx::LocalDateTime t{2024, 3, 31, 14, 2, 7, 315};
        if (m_timer.isValid()) {
            const long long ms = 315 + m_timer.elapsed();
            t.millisecond = static_cast<int>(ms % 1000);
            t.second += static_cast<int>(ms / 1000); // tests run for well under a minute
        }
        return t;
    }

private:
    QElapsedTimer m_timer;
};

// Milliseconds of the "hh:nn:ss:zzz" stamp in a receive-box line, -1 when it has none.
inline long long stampMs(const std::string& line)
{
    for (size_t i = 0; i + 12 <= line.size(); ++i) {
        int h, m, s, z;
        if (line[i + 2] == ':' && line[i + 5] == ':' && line[i + 8] == ':'
            && std::sscanf(line.c_str() + i, "%2d:%2d:%2d:%3d", &h, &m, &s, &z) == 4)
            return ((h * 60LL + m) * 60 + s) * 1000 + z;
    }
    return -1;
}

} // namespace enginetest

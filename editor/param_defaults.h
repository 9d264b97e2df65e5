#pragma once
// The limits every command dialog opens with: maximum, default and minimum of each
// parameter. Filled once when the frame that owns it is created and never written again, so
// every dialog starts from the same defaults; the value entered last is not remembered.

#include "protocol/vocabulary.h"

#include <array>

struct ParamLimits {
    long long maximum = 0;
    long long defaultValue = 0;
    long long minimum = 0;
};

enum class Param {
    Font, Color, Flash, HorSize, VertSize, OutLine, Enable,
    HorPos, VertPos, Sound, DisAppear, Appear, Pause,
    WatchDogFlag, WatchDogCountDown,
    DisplayNumber, MessageNumber, PageNumber, LineNumber, // the watchdog's message too
    HorBoards,
    ConfLine1, // ConfLine1 + n - 1 is the height of line n, 1..16
    Year = ConfLine1 + 16, Month, Date, Hours, Minutes, Seconds,
    LedHours, LedMinutes,
    Wait,
    Count
};

// The height field of display line n (1..16).
Param confLine(int n);
// The number of a block kind.
Param blockNumber(lmx::BlockKind kind);

class ParamDefaultsTable {
public:
    // Empty (all zero) until filled.
    void fill();
    bool filled() const { return m_filled; }
    const ParamLimits& operator[](Param p) const { return m_limits[static_cast<size_t>(p)]; }

private:
    void set(Param p, long long maximum, long long defaultValue, long long minimum);

    std::array<ParamLimits, static_cast<size_t>(Param::Count)> m_limits{};
    bool m_filled = false;
};

#include "param_defaults.h"

Param confLine(int n)
{
    return static_cast<Param>(static_cast<int>(Param::ConfLine1) + n - 1);
}

Param blockNumber(lmx::BlockKind kind)
{
    return static_cast<Param>(static_cast<int>(Param::DisplayNumber) + static_cast<int>(kind));
}

void ParamDefaultsTable::set(Param p, long long maximum, long long defaultValue, long long minimum)
{
    m_limits[static_cast<size_t>(p)] = {maximum, defaultValue, minimum};
}

void ParamDefaultsTable::fill()
{
    set(Param::Font, 0x9, 1, 0);
    set(Param::Color, 0x3, 1, 0);
    set(Param::Flash, 0x1, 1, 0);
    set(Param::HorSize, 0xF, 1, 1);
    set(Param::VertSize, 0xF, 1, 1);
    set(Param::OutLine, 0x2, 0, 0);
    set(Param::Enable, 0x7, 0, 0);
    set(Param::HorPos, 2047, 0, -2048);
    set(Param::VertPos, 127, 0, -128);
    set(Param::Sound, 0xFF, 1, 0);
    set(Param::DisAppear, 0x99, 0, 0);
    set(Param::Appear, 0x99, 0, 0);
    set(Param::Pause, 0xFF, 1, 0);
    set(Param::WatchDogFlag, 0x7, 0, 0);
    set(Param::WatchDogCountDown, 0xFF, 0, 0);
    for (Param p : {Param::DisplayNumber, Param::MessageNumber, Param::PageNumber, Param::LineNumber})
        set(p, 100, 1, 0);
    set(Param::HorBoards, 8, 1, 1);
    for (int n = 1; n <= 16; ++n)
        set(confLine(n), 0x10, n <= 2 ? 8 : 0, 0);
    set(Param::Year, 99, 0, 0);
    set(Param::Month, 12, 1, 1);
    set(Param::Date, 31, 1, 1);
    set(Param::Hours, 23, 0, 0);
    set(Param::Minutes, 59, 0, 0);
    set(Param::Seconds, 59, 0, 0);
    set(Param::LedHours, 24, 0, 0);
    set(Param::LedMinutes, 59, 0, 0);
    set(Param::Wait, 10000, 5000, 0);
    m_filled = true;
}

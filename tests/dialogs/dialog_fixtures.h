#pragma once
// The records the command routines hand to the dialogs, with their titles, labels and
// limits, so the tests and the screenshot tool open the dialogs as the program does.

#include "dialogs/eoc_rules.h"
#include "dialogs/value_boxes.h"

#include <array>
#include <string>

namespace fixtures {

inline BoxConfigs displayConfiguration()
{
    BoxConfigs c{};
    for (size_t i = 0; i < c.size(); ++i) {
        c[i].BoxCaption = "Line " + std::to_string(i);
        c[i].MaxValue = 0x10;
        c[i].Visible = true;
    }
    c[0].BoxCaption = "n Hor. Boards";
    c[0].MinValue = 1;
    c[0].MaxValue = 8;
    c[0].CurrentValue = 1;
    c[1].CurrentValue = 8;
    c[2].CurrentValue = 8;
    return c;
}

inline BoxConfigs timeAndDate()
{
    BoxConfigs c{};
    const char* names[] = {"Year", "Month", "Date", "Hours", "Minutes", "Seconds"};
    const long long mins[] = {0, 1, 1, 0, 0, 0};
    const long long maxs[] = {99, 12, 31, 23, 59, 59};
    for (size_t k = 0; k < 6; ++k) {
        TBoxConfig& f = c[6 + k];
        f.BoxCaption = names[k];
        f.MinValue = mins[k];
        f.MaxValue = maxs[k];
        f.CurrentValue = mins[k];
        f.DecInput = true;
        f.Visible = true;
    }
    return c;
}

inline std::array<TTripleBox, 3> watchDog()
{
    std::array<TTripleBox, 3> b{};
    const char* labels[] = {"Flag", "Count Down", "Message"};
    const long long maxs[] = {7, 0xFF, 0x64};
    for (size_t i = 0; i < 3; ++i) {
        b[i].Header = "WatchDog (All in Hex)";
        b[i].BoxLabel = labels[i];
        b[i].MaxValue = maxs[i];
        b[i].HexInput = true;
    }
    b[2].CurrentValue = 1;
    return b;
}

inline std::array<TDoubleBox, 2> ledTest()
{
    std::array<TDoubleBox, 2> b{};
    b[0].Header = b[1].Header = "Configure Led Test (All in Dec)";
    b[0].BoxLabel = "Hours";
    b[0].MaxValue = 24;
    b[1].BoxLabel = "Minutes";
    b[1].MaxValue = 59;
    return b;
}

inline TSingleBox packetWait()
{
    TSingleBox b;
    b.Header = "Time between packets to wait";
    b.BoxLabel = "Wait [mS]";
    b.MaxValue = 10000;
    b.CurrentValue = 5000;
    return b;
}

} // namespace fixtures

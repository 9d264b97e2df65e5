#pragma once
// The local time of day, read through an interface so tests can fix it, and its two stamp
// forms "hh:nn:ss:zzz" and "yy:mm:dd".

#include <string>

namespace lmx {

struct LocalDateTime {
    int year = 2000; // four digits
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class WallClock {
public:
    virtual ~WallClock() = default;
    virtual LocalDateTime now() const = 0;
};

// The system's local clock.
class SystemWallClock : public WallClock {
public:
    LocalDateTime now() const override;
};

// The local date and time of a moment given in microseconds since 1970 (UTC).
LocalDateTime localDateTime(long long usSinceEpoch);

// "14:05:09:007": hours, minutes, seconds, milliseconds.
std::string timeStampText(const LocalDateTime& t);
// "24:03:31": two-digit year, month, day.
std::string dateStampText(const LocalDateTime& t);

} // namespace lmx

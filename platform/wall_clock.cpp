#include "wall_clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace lmx {

LocalDateTime SystemWallClock::now() const
{
    using namespace std::chrono;
    return localDateTime(duration_cast<microseconds>(system_clock::now().time_since_epoch()).count());
}

LocalDateTime localDateTime(long long usSinceEpoch)
{
    const long long ms = usSinceEpoch / 1000 - (usSinceEpoch % 1000 < 0 ? 1 : 0);
    const long long msOfSecond = ((ms % 1000) + 1000) % 1000;
    const auto seconds = static_cast<std::time_t>((ms - msOfSecond) / 1000);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    LocalDateTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    t.millisecond = static_cast<int>(msOfSecond);
    return t;
}

namespace {

// Two digits of a value, whatever its range (a bad value never overflows the buffer).
std::string twoDigits(int v)
{
    v = ((v % 100) + 100) % 100;
    return {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

} // namespace

std::string timeStampText(const LocalDateTime& t)
{
    int ms = ((t.millisecond % 1000) + 1000) % 1000;
    std::string out = twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second) + ":";
    out += static_cast<char>('0' + ms / 100);
    out += twoDigits(ms % 100);
    return out;
}

std::string dateStampText(const LocalDateTime& t)
{
    return twoDigits(t.year) + ":" + twoDigits(t.month) + ":" + twoDigits(t.day);
}

} // namespace lmx

#include "display_state.h"

#include <cstdio>

namespace lmx::sim {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date; avoids timegm, which is not standard.
long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

long long civilSeconds(const std::tm& t)
{
    return daysFromCivil(t.tm_year + 1900LL, static_cast<unsigned>(t.tm_mon + 1),
                         static_cast<unsigned>(t.tm_mday)) * 86400LL
           + t.tm_hour * 3600LL + t.tm_min * 60LL + t.tm_sec;
}

std::string formatClock(long long seconds)
{
    long long days = seconds / 86400;
    long long rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // civil from days (inverse of daysFromCivil)
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const long long y = static_cast<long long>(yoe) + era * 400 + (m <= 2);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d%02u%02u%02d%02d%02d", static_cast<int>(((y % 100) + 100) % 100),
                  m, d, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60));
    return buf;
}

} // namespace

bool BlockPath::contains(const BlockPath& inner) const
{
    if (message >= 0 && inner.message != message)
        return false;
    if (page >= 0 && inner.page != page)
        return false;
    if (line >= 0 && inner.line != line)
        return false;
    return true;
}

bool DisplayState::clearBlock(const BlockPath& block)
{
    for (auto it = texts.begin(); it != texts.end();) {
        if (block.contains(it->first)) {
            memoryUsed -= it->second.size() + kBlockCost;
            it = texts.erase(it);
        } else {
            ++it;
        }
    }
    if (memoryUsed + kBlockCost > kTextMemory)
        return false;
    texts[block];
    memoryUsed += kBlockCost;
    return true;
}

void DisplayState::clearTexts()
{
    texts.clear();
    memoryUsed = 0;
}

bool DisplayState::appendText(const BlockPath& where, char c)
{
    auto it = texts.find(where);
    const size_t cost = it == texts.end() ? 1 + kBlockCost : 1;
    if (memoryUsed + cost > kTextMemory)
        return false;
    if (it == texts.end())
        it = texts.emplace(where, std::string()).first;
    it->second += c;
    memoryUsed += cost;
    return true;
}

void DisplayState::setClock(const std::tm& civil, std::time_t wallNow)
{
    m_clockSet = true;
    m_clockCivil = civilSeconds(civil);
    m_clockWallAtSet = wallNow;
}

std::string DisplayState::clockText(std::time_t wallNow) const
{
    if (m_clockSet)
        return formatClock(m_clockCivil + static_cast<long long>(wallNow - m_clockWallAtSet));
    std::tm local{};
    localtime_r(&wallNow, &local);
    return formatClock(civilSeconds(local));
}

} // namespace lmx::sim

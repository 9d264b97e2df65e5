#include "brightness_rules.h"

#include "protocol/hex.h"

#include <algorithm>

BrightnessTable::Levels BrightnessTable::defaultLevels()
{
    Levels l{};
    for (int i = 0; i < kLevels; ++i)
        l[static_cast<size_t>(i)] = std::min(i + 3, kMaxLevel);
    return l;
}

BrightnessTable::Levels BrightnessTable::fullLevels()
{
    Levels l{};
    l.fill(kMaxLevel);
    return l;
}

BrightnessTable::Levels BrightnessTable::lowLevels()
{
    return Levels{};
}

bool BrightnessTable::load(const TBrightData& data)
{
    m_header = data.Header;
    // The table's length decides its form: reading a 16-digit table two digits per level
    // would run past its end.
    int width = 0;
    if (data.Data.size() == kLevels)
        width = 1;
    else if (data.Data.size() == 2 * kLevels)
        width = 2;
    if (width == 0) {
        m_version = TVersion::V300;
        m_levels = defaultLevels();
        return false;
    }
    m_version = width == 1 ? TVersion::V300 : TVersion::V200;
    bool allRead = true;
    for (int i = 0; i < kLevels; ++i) {
        long long v = 0;
        if (!lmx::hexToInt(std::string_view(data.Data).substr(static_cast<size_t>(i * width),
                                                              static_cast<size_t>(width)),
                           v)) {
            v = 0;
            allRead = false;
        }
        setLevel(i, static_cast<int>(std::min<long long>(v, kMaxLevel)));
    }
    return allRead;
}

int BrightnessTable::level(int i) const
{
    return (i >= 0 && i < kLevels) ? m_levels[static_cast<size_t>(i)] : 0;
}

void BrightnessTable::setLevel(int i, int value)
{
    if (i < 0 || i >= kLevels)
        return;
    m_levels[static_cast<size_t>(i)] = std::clamp(value, 0, kMaxLevel);
}

void BrightnessTable::setLevels(const Levels& levels)
{
    for (int i = 0; i < kLevels; ++i)
        setLevel(i, levels[static_cast<size_t>(i)]);
}

std::string BrightnessTable::text() const
{
    const int width = m_version == TVersion::V200 ? 2 : 1;
    std::string out;
    for (int v : m_levels)
        out += lmx::toHex(v, width);
    return out;
}

void BrightnessTable::store(TBrightData& data) const
{
    data.Data = text();
    data.Version = m_version;
}

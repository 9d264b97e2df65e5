#include "line_settings_block.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace lmx {

std::vector<RecordField> lineSettingsFields(TSerialSettings& s)
{
    return {{"Echo", &s.Echo, 0, 2},
            {"RS485", &s.RS485},
            {"RS485DelayBefore", &s.RS485DelayBefore, 0, TSerialSettings::kMaxRs485Delay},
            {"RS485DelayAfter", &s.RS485DelayAfter, 0, TSerialSettings::kMaxRs485Delay},
            {"Reconnect", &s.Reconnect, 0, TSerialSettings::kMaxReconnect}};
}

bool hasLineSettings(const TSerialSettings& s)
{
    const TSerialSettings d;
    return s.Echo != d.Echo || s.RS485 != d.RS485 || s.RS485DelayBefore != d.RS485DelayBefore
        || s.RS485DelayAfter != d.RS485DelayAfter || s.Reconnect != d.Reconnect;
}

bool isLineSettingsBlock(const NotationObject& block)
{
    const std::string_view name = kLineBlockName;
    return std::equal(block.className.begin(), block.className.end(), name.begin(), name.end(),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a))
                              == std::tolower(static_cast<unsigned char>(b));
                      });
}

} // namespace lmx

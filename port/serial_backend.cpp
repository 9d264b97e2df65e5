#include "serial_backend.h"

#include <cctype>

namespace lmx {

bool isNetworkPortName(std::string_view name)
{
    constexpr std::string_view kScheme = "tcp://";
    if (name.size() < kScheme.size())
        return false;
    for (size_t i = 0; i < kScheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != kScheme[i])
            return false;
    return true;
}

std::string devicePathOf(std::string_view name)
{
#ifdef _WIN32
    return std::string(name);
#else
    constexpr std::string_view kPrefix = "\\\\.\\COM";
    if (name.size() <= kPrefix.size() || name.size() > kPrefix.size() + 3)
        return std::string(name);
    for (size_t i = 0; i < kPrefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != kPrefix[i])
            return std::string(name);
    int number = 0;
    for (size_t i = kPrefix.size(); i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])))
            return std::string(name);
        number = number * 10 + (name[i] - '0');
    }
    if (number < 1)
        return std::string(name);
    return "/dev/ttyS" + std::to_string(number - 1);
#endif
}

} // namespace lmx

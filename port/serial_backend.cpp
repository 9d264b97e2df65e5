#include "serial_backend.h"

#include <cctype>

namespace lmx {

bool hasScheme(std::string_view name, std::string_view scheme)
{
    if (name.size() < scheme.size())
        return false;
    for (size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != scheme[i])
            return false;
    return true;
}

bool isNetworkPortName(std::string_view name)
{
    return hasScheme(name, "tcp://");
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

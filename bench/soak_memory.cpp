#include "soak_memory.h"

#include <fstream>
#include <iterator>
#include <string>

namespace lmx::soak {

namespace {

// "VmHWM:	   12345 kB" -> 12345; -1 when the field is missing or not a number.
long long kbField(std::string_view status, std::string_view name)
{
    size_t at = 0;
    while ((at = status.find(name, at)) != std::string_view::npos) {
        if (at == 0 || status[at - 1] == '\n')
            break;
        at += name.size();
    }
    if (at == std::string_view::npos)
        return -1;
    size_t i = at + name.size();
    while (i < status.size() && (status[i] == ' ' || status[i] == '\t'))
        ++i;
    long long value = 0;
    bool digits = false;
    for (; i < status.size() && status[i] >= '0' && status[i] <= '9'; ++i) {
        value = value * 10 + (status[i] - '0');
        digits = true;
    }
    if (!digits || status.substr(i, 3) != " kB")
        return -1;
    return value;
}

} // namespace

MemorySample parseProcStatus(std::string_view status)
{
    MemorySample s;
    s.rssKb = kbField(status, "VmRSS:");
    s.peakKb = kbField(status, "VmHWM:");
    return s;
}

MemorySample sampleMemory()
{
    std::ifstream in("/proc/self/status");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parseProcStatus(text);
}

std::optional<double> peakGrowth(const MemorySample& early, const MemorySample& late)
{
    if (!early.valid() || !late.valid() || early.peakKb == 0)
        return std::nullopt;
    return static_cast<double>(late.peakKb - early.peakKb) / static_cast<double>(early.peakKb);
}

} // namespace lmx::soak

#pragma once
// The process's own memory as the kernel counts it: resident now (VmRSS) and its peak so
// far (VmHWM), both in kB.

#include <optional>
#include <string_view>

namespace lmx::soak {

struct MemorySample {
    long long rssKb = -1; // -1: not reported
    long long peakKb = -1;
    bool valid() const { return rssKb >= 0 && peakKb >= 0; }
};

// Reads the two fields from the text of /proc/<pid>/status.
MemorySample parseProcStatus(std::string_view status);
// This process, now; not valid where /proc is missing.
MemorySample sampleMemory();
// How much the peak grew from `early` to `late`, as a fraction of the early peak (0.05 for
// 5 %); nothing when either sample is not valid.
std::optional<double> peakGrowth(const MemorySample& early, const MemorySample& late);

} // namespace lmx::soak

#include "app/stall_probe.h"

#include "platform/settings_store.h"

#include <algorithm>

namespace tov {

namespace {

constexpr const char* kStallSwitch = "measurestalls";
constexpr std::chrono::milliseconds kTickEvery{1};
// A few minutes of ticks; a build that takes longer is counted in its first part only.
constexpr std::size_t kMostGaps = 1u << 18;

void Tick(Platform& platform, StallProbe& probe) {
    const MonotonicTime now = platform.MonotonicNow();
    if (probe.gaps.size() < kMostGaps)
        probe.gaps.push_back(std::chrono::duration_cast<std::chrono::microseconds>(now - probe.lastTick));
    probe.lastTick = now;
    probe.tick = platform.StartTimer(kTickEvery, [&platform, &probe] { Tick(platform, probe); });
}

std::string Milliseconds(std::chrono::microseconds span) {
    const auto tenths = span.count() / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " ms";
}

} // namespace

void StartStallProbe(Platform& platform, StallProbe& probe) {
    probe.on = GetSetting(platform, kStallSwitch, 0) == "1";
    if (!probe.on)
        return;
    probe.lastTick = platform.MonotonicNow();
    probe.tick = platform.StartTimer(kTickEvery, [&platform, &probe] { Tick(platform, probe); });
}

void StartStallCount(Platform& platform, StallProbe& probe) {
    probe.gaps.clear();
    probe.lastTick = platform.MonotonicNow();
}

std::string StallReport(const StallProbe& probe, std::string line) {
    if (!probe.on || probe.gaps.empty())
        return line;
    std::vector<std::chrono::microseconds> gaps = probe.gaps;
    const auto middle = gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2);
    std::nth_element(gaps.begin(), middle, gaps.end());
    const auto longest = *std::max_element(gaps.begin(), gaps.end());
    return line + "; this thread's longest gap between timer ticks " + Milliseconds(longest) +
           ", usual gap " + Milliseconds(*middle) + " (" + std::to_string(gaps.size()) + " ticks)";
}

} // namespace tov

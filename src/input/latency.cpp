#include "input/latency.h"

#include <algorithm>
#include <cstdio>

namespace tov {

namespace {

constexpr std::size_t kMedianPercent = 50;
constexpr std::size_t kTailPercent = 99;
constexpr std::size_t kWhole = 100;

Duration Percentile(const std::vector<Duration>& sorted, std::size_t percent) {
    const std::size_t rank = (sorted.size() * percent + kWhole - 1) / kWhole;
    return sorted[std::max<std::size_t>(rank, 1) - 1];
}

std::string Line(const char* what, const LatencySummary& s) {
    const auto micro = [](Duration d) {
        return static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(d).count());
    };
    char text[160];
    std::snprintf(text, sizeof text, "%s: count %zu, p50 %lld us, p99 %lld us, max %lld us\n", what, s.count,
                  micro(s.p50), micro(s.p99), micro(s.max));
    return text;
}

} // namespace

LatencySummary Summarise(std::vector<Duration> samples) {
    if (samples.empty())
        return {};
    std::sort(samples.begin(), samples.end());
    return {samples.size(), Percentile(samples, kMedianPercent), Percentile(samples, kTailPercent),
            samples.back()};
}

void NoteKeysShown(State& state) {
    const auto now = std::chrono::steady_clock::now();
    for (const auto keyAt : state.KeysWaiting)
        if (state.KeyTimes.size() < kMaxHookTimes)
            state.KeyTimes.push_back(now - keyAt);
    state.KeysWaiting.clear();
}

std::string LatencyReport(const std::vector<Duration>& keyToRepaint, const std::vector<Duration>& hook) {
    return Line("key to repaint", Summarise(keyToRepaint)) + Line("hook procedure", Summarise(hook));
}

} // namespace tov

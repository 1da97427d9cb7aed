#pragma once
// How long this thread stalls while a catalogue build runs on the worker: a timer that fires as
// often as the system lets it records the gaps between its ticks, and each build's log line
// gets the longest and the usual gap. Off unless the setting "measurestalls" is 1.
#include "platform/platform.h"

#include <chrono>
#include <string>
#include <vector>

namespace tov {

struct StallProbe {
    bool on = false;
    TimerPtr tick;
    MonotonicTime lastTick{};
    std::vector<std::chrono::microseconds> gaps; // since the build started
};

// Reads the switch and, when it is on, starts the ticks.
void StartStallProbe(Platform& platform, StallProbe& probe);
// A build starts: the gaps are counted afresh.
void StartStallCount(Platform& platform, StallProbe& probe);
// `line` with the longest and the median gap since the count started, when the probe is on.
std::string StallReport(const StallProbe& probe, std::string line);

} // namespace tov

#pragma once
// How fast a key shows: from the hook procedure's entry to the end of the command window's
// repaint, and the hook procedure's own time. Measured only when the setting "latencyfile"
// names a file; the summary goes there at exit.
#include "input/state.h"

#include <string>
#include <vector>

namespace tov {

struct LatencySummary {
    std::size_t count = 0;
    Duration p50{};
    Duration p99{};
    Duration max{};
};

// Nearest-rank percentiles; all zero for no samples.
LatencySummary Summarise(std::vector<Duration> samples);

// Main thread, after a repaint: the keys that waited for it are shown now.
void NoteKeysShown(State& state);

// The summary file's text: one line for the keys' times to the repaint, one for the hook's own.
std::string LatencyReport(const std::vector<Duration>& keyToRepaint, const std::vector<Duration>& hook);

} // namespace tov

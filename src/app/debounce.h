#pragma once
// When a burst of changes has settled: a quiet time after the last change, but never later
// than a longest wait after the first, so a folder that keeps changing is still followed.
#include "platform/platform.h"

#include <chrono>
#include <optional>

namespace tov {

struct Debounce {
    std::chrono::milliseconds quiet{};
    std::chrono::milliseconds longestWait{};
    std::optional<MonotonicTime> firstChange; // of the burst not yet settled
    std::optional<MonotonicTime> lastChange;
};

void NoteChange(Debounce& debounce, MonotonicTime now);
// When the burst settles; nothing when there is no burst.
std::optional<MonotonicTime> SettlesAt(const Debounce& debounce);
// True once, when the burst has settled by `now`; the next change starts a new burst.
bool TakeSettled(Debounce& debounce, MonotonicTime now);

} // namespace tov

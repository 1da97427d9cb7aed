#include "input/hook_watch.h"

#include <algorithm>

namespace tov {

// Across the clock's wrap.
bool HookAnswered(InputTick eventTick, InputTick hookTick) {
    return static_cast<std::int32_t>(hookTick - eventTick + kInputTickSlack) >= 0;
}

void NoteRawInput(HookWatch& watch, InputTick eventTick, InputTick hookTick, HookWatch::Time now) {
    if (watch.unansweredEvent && HookAnswered(*watch.unansweredEvent, hookTick))
        watch.unansweredEvent.reset();
    if (watch.unansweredEvent || HookAnswered(eventTick, hookTick))
        return;
    watch.unansweredEvent = eventTick;
    watch.unansweredSince = now;
}

bool HookLost(HookWatch& watch, InputTick hookTick, HookWatch::Time now) {
    if (!watch.unansweredEvent)
        return false;
    if (HookAnswered(*watch.unansweredEvent, hookTick)) {
        watch.unansweredEvent.reset();
        return false;
    }
    return now >= *NextCheck(watch);
}

void NoteReinstalled(HookWatch& watch, HookWatch::Time now) {
    watch.unansweredEvent.reset();
    watch.lastReinstall = now;
}

std::optional<HookWatch::Time> NextCheck(const HookWatch& watch) {
    if (!watch.unansweredEvent)
        return std::nullopt;
    HookWatch::Time due = watch.unansweredSince + kHookSilence;
    if (watch.lastReinstall)
        due = std::max(due, *watch.lastReinstall + kReinstallSpacing);
    return due;
}

} // namespace tov

#pragma once
// Windows removes a low-level hook without a word when it once answers too slowly. The watchdog
// hears every key (or button) a second way, through raw input, and compares times: the system
// calls the low-level hooks before it makes the raw input of an event, so a hook that is still
// in place has been called at or after the time stamp of every raw event that reaches us. When
// one has not, and no hook call comes within a short while, the hook is gone.
#include "platform/types.h"

#include <chrono>
#include <optional>

namespace tov {

// How long a key heard by raw input may go without a hook call before the hook counts as lost.
constexpr std::chrono::milliseconds kHookSilence{300};
// The least time between two re-installations, so that nothing can make the watchdog install
// over and over.
constexpr std::chrono::milliseconds kReinstallSpacing{1000};
// How far an event's stamp and the hook's own reading of the clock may differ for one event.
constexpr InputTick kInputTickSlack = 50;

struct HookWatch {
    using Time = std::chrono::steady_clock::time_point;
    std::optional<InputTick> unansweredEvent; // the stamp of a raw event the hook was not called for
    Time unansweredSince{};                   // when the watchdog heard of it
    std::optional<Time> lastReinstall;
};

// Whether the hook was called for an event stamped `eventTick`, the clock at its latest call
// being `hookTick`.
bool HookAnswered(InputTick eventTick, InputTick hookTick);

// Raw input heard an event stamped `eventTick`; `hookTick` is the clock at the hook's latest call.
void NoteRawInput(HookWatch& watch, InputTick eventTick, InputTick hookTick, HookWatch::Time now);

// Whether the hooks should be installed again now. A hook call since the unanswered event clears it.
bool HookLost(HookWatch& watch, InputTick hookTick, HookWatch::Time now);

// The hooks were installed again (or for the first time): nothing is owed from before.
void NoteReinstalled(HookWatch& watch, HookWatch::Time now);

// When HookLost should be asked next; nothing while no event waits for an answer.
std::optional<HookWatch::Time> NextCheck(const HookWatch& watch);

} // namespace tov

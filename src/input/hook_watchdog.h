#pragma once
// The main thread's watchdog over the hooks: it hears every key, and every button press while
// the mouse hook is in place, a second way (raw input) and installs the hooks again when one
// went unanswered by its hook, and after the session is unlocked or the machine resumes.
#include "input/elevated_windows.h"
#include "input/hook_watch.h"
#include "platform/platform.h"

#include <cstdint>
#include <functional>

namespace tov {

struct HookWatchdog {
    HookWatch keyboard;
    HookWatch mouse;
    TimerPtr check; // due when an unanswered event's silence runs out
    bool listening = false;
    bool hearingMouse = false;
    // The key that opens the command window, as the main thread has it now.
    std::function<std::uint32_t()> activationKey;
    ElevatedWindowNotice elevatedWindow;
};

// Both main thread. Starting counts the hooks as freshly installed.
void StartHookWatchdog(Platform& platform, HookWatchdog& dog);
void StopHookWatchdog(Platform& platform, HookWatchdog& dog);
// Main thread: whether the mouse hook is in place now (the command line is open), so that the
// watchdog hears the mouse's buttons too.
void WatchMouseHook(Platform& platform, HookWatchdog& dog, bool inPlace);

} // namespace tov

#include "input/hook_watchdog.h"

#include <algorithm>

namespace tov {

namespace {

HookWatch& WatchOf(HookWatchdog& dog, InputDevice device) {
    return device == InputDevice::Keyboard ? dog.keyboard : dog.mouse;
}

void Renew(Platform& platform, HookWatchdog& dog, const std::string& why) {
    platform.Log("Installing the hooks again: " + why);
    platform.ReinstallHooks(why);
    const MonotonicTime now = platform.MonotonicNow();
    NoteReinstalled(dog.keyboard, now);
    NoteReinstalled(dog.mouse, now);
}

void Schedule(Platform& platform, HookWatchdog& dog);

void Check(Platform& platform, HookWatchdog& dog) {
    dog.check.reset();
    const MonotonicTime now = platform.MonotonicNow();
    const bool keyboardLost = HookLost(dog.keyboard, platform.LastHookCall(InputDevice::Keyboard), now);
    const bool mouseLost = HookLost(dog.mouse, platform.LastHookCall(InputDevice::Mouse), now);
    if (keyboardLost || mouseLost)
        Renew(platform, dog, keyboardLost ? "the keyboard hook was lost" : "the mouse hook was lost");
    Schedule(platform, dog);
}

void Schedule(Platform& platform, HookWatchdog& dog) {
    std::optional<MonotonicTime> due = NextCheck(dog.keyboard);
    if (const auto mouseDue = NextCheck(dog.mouse))
        due = due ? std::min(*due, *mouseDue) : mouseDue;
    if (!due) {
        dog.check.reset();
        return;
    }
    const auto wait = std::max(std::chrono::ceil<std::chrono::milliseconds>(*due - platform.MonotonicNow()),
                               std::chrono::milliseconds(0));
    dog.check = platform.StartTimer(wait, [&platform, &dog] { Check(platform, dog); });
}

void Hear(Platform& platform, HookWatchdog& dog, const WatchdogNews& news) {
    switch (news.kind) {
    case WatchdogNews::Kind::RawInput:
        if (dog.activationKey &&
            KeyWentToElevatedWindow(platform, dog.elevatedWindow, news, dog.activationKey()))
            break;
        NoteRawInput(WatchOf(dog, news.device), news.stamp, platform.LastHookCall(news.device),
                     platform.MonotonicNow());
        Schedule(platform, dog);
        break;
    case WatchdogNews::Kind::SessionUnlocked:
        Renew(platform, dog, "the session was unlocked");
        break;
    case WatchdogNews::Kind::MachineResumed:
        Renew(platform, dog, "the machine resumed");
        break;
    }
}

} // namespace

void StartHookWatchdog(Platform& platform, HookWatchdog& dog) {
    const MonotonicTime now = platform.MonotonicNow();
    NoteReinstalled(dog.keyboard, now);
    NoteReinstalled(dog.mouse, now);
    dog.listening = true;
    platform.ListenForWatchdog([&platform, &dog](const WatchdogNews& news) { Hear(platform, dog, news); });
}

void StopHookWatchdog(Platform& platform, HookWatchdog& dog) {
    WatchMouseHook(platform, dog, false);
    if (!dog.listening)
        return;
    dog.listening = false;
    platform.ListenForWatchdog(nullptr);
    dog.check.reset();
}

void WatchMouseHook(Platform& platform, HookWatchdog& dog, bool inPlace) {
    const bool hear = inPlace && dog.listening;
    if (hear == dog.hearingMouse)
        return;
    dog.hearingMouse = hear;
    // The mouse hook comes anew each time it is wanted: nothing is owed from before.
    dog.mouse.unansweredEvent.reset();
    platform.ListenForMouseButtons(hear);
}

} // namespace tov

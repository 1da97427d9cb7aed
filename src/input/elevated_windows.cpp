#include "input/elevated_windows.h"

#include "input/hook_watch.h"

namespace tov {

namespace {

constexpr const char* kElevatedWindowLine =
    "The activation key went to a window of a program that runs as administrator: Windows keeps "
    "the keys typed into such a program from programs that do not, Tovlen included, so no command "
    "window opened (the help's \"Caps Lock does nothing over some windows\" says what to do)";

} // namespace

bool KeyWentToElevatedWindow(Platform& platform, ElevatedWindowNotice& notice, const WatchdogNews& news,
                             std::uint32_t activationKey) {
    if (news.kind != WatchdogNews::Kind::RawInput || news.device != InputDevice::Keyboard ||
        HookAnswered(news.stamp, platform.LastHookCall(InputDevice::Keyboard)))
        return false;
    if (!platform.RunsElevatedAboveUs(platform.ForegroundWindow()))
        return false;
    if (news.keyDown && news.vkCode == activationKey && !notice.logged) {
        notice.logged = true;
        platform.Log(kElevatedWindowLine);
    }
    return true;
}

} // namespace tov

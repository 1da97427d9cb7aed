// The watchdog's ears: raw input hears every key, and while asked every click, apart from the
// hook chain, so a hook that Windows dropped shows as raw input that the hook was not called for;
// and the session's unlocks and the machine's resumes, after which Windows is most likely to
// have dropped them.
#include "platform/win32/win32_platform.h"

#include <wtsapi32.h>

namespace tov {

namespace {

// HID usages of the generic desktop page, as hidusage.h numbers them.
constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kMouseUsage = 0x02;
constexpr USHORT kKeyboardUsage = 0x06;
constexpr USHORT kButtonDowns = RI_MOUSE_LEFT_BUTTON_DOWN | RI_MOUSE_RIGHT_BUTTON_DOWN |
                                RI_MOUSE_MIDDLE_BUTTON_DOWN | RI_MOUSE_BUTTON_4_DOWN | RI_MOUSE_BUTTON_5_DOWN;

// Windows 8 and later tell a window of resuming, message-only or not; found at run time.
using RegisterResumeFunction = HPOWERNOTIFY(WINAPI*)(HANDLE recipient, DWORD flags);
using UnregisterResumeFunction = BOOL(WINAPI*)(HPOWERNOTIFY handle);

template <typename Function> Function User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// A removal names no window.
bool RegisterRawInput(USHORT usage, HWND target, DWORD flags) {
    const RAWINPUTDEVICE device{kGenericDesktopPage, usage, flags, flags == RIDEV_REMOVE ? nullptr : target};
    return RegisterRawInputDevices(&device, 1, sizeof device) != FALSE;
}

} // namespace

void Win32Platform::ListenForWatchdog(std::function<void(const WatchdogNews&)> onNews) {
    const HWND window = serviceWindow_.Get();
    if (!onNews) {
        if (!watchdogNews_)
            return;
        watchdogNews_ = nullptr;
        ListenForMouseButtons(false);
        RegisterRawInput(kKeyboardUsage, nullptr, RIDEV_REMOVE);
        WTSUnRegisterSessionNotification(window);
        if (resumeNotification_) {
            if (const auto unregister =
                    User32Function<UnregisterResumeFunction>("UnregisterSuspendResumeNotification"))
                unregister(resumeNotification_);
            resumeNotification_ = nullptr;
        }
        return;
    }
    const bool listening = static_cast<bool>(watchdogNews_);
    watchdogNews_ = std::move(onNews);
    if (!window || listening)
        return;
    // Of the keyboard only: raw input of the mouse would wake this thread for every move.
    if (!RegisterRawInput(kKeyboardUsage, window, RIDEV_INPUTSINK))
        Log("The watchdog hears no raw input (error " + std::to_string(GetLastError()) +
            "); a dropped hook comes back only after an unlock or a resume");
    if (!WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION))
        Log("The watchdog hears of no unlock (error " + std::to_string(GetLastError()) + ")");
    if (const auto registerResume =
            User32Function<RegisterResumeFunction>("RegisterSuspendResumeNotification"))
        resumeNotification_ = registerResume(window, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void Win32Platform::ListenForMouseButtons(bool listen) {
    const HWND window = serviceWindow_.Get();
    listen = listen && watchdogNews_ && window;
    if (listen == hearingMouse_)
        return;
    if (RegisterRawInput(kMouseUsage, window, listen ? RIDEV_INPUTSINK : RIDEV_REMOVE))
        hearingMouse_ = listen;
}

void Win32Platform::TellWatchdog(const WatchdogNews& news) {
    if (watchdogNews_) {
        const auto handler = watchdogNews_; // the handler may stop the watchdog
        handler(news);
    }
}

void Win32Platform::HearRawInput(HRAWINPUT input) {
    if (!watchdogNews_)
        return;
    RAWINPUT raw{};
    UINT size = sizeof raw;
    if (GetRawInputData(input, RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1))
        return;
    WatchdogNews news;
    // The stamp the event got when it happened, however late the main thread hears of it.
    news.stamp = static_cast<InputTick>(GetMessageTime());
    if (raw.header.dwType == RIM_TYPEKEYBOARD) {
        news.device = InputDevice::Keyboard;
        news.vkCode = raw.data.keyboard.VKey;
        news.keyDown = (raw.data.keyboard.Flags & RI_KEY_BREAK) == 0;
    } else if (raw.header.dwType == RIM_TYPEMOUSE && (raw.data.mouse.usButtonFlags & kButtonDowns) != 0)
        news.device = InputDevice::Mouse;
    else
        return;
    TellWatchdog(news);
}

InputTick Win32Platform::LastHookCall(InputDevice device) {
    if (!input_)
        return 0;
    return device == InputDevice::Keyboard ? input_->LastKeyboardCall() : input_->LastMouseCall();
}

void Win32Platform::ReinstallHooks(const std::string& why) {
    if (input_)
        input_->ReinstallHooks(why);
}

void Win32Platform::DropHooks() {
    if (input_)
        input_->DropHooks();
}

} // namespace tov

// The watchdog: raw input hears every key and click apart from the hook chain, so a hook that
// Windows dropped shows as raw input that the hook was not called for. Also, the hooks go in
// again whenever the session is unlocked or the machine resumes, when Windows is most likely
// to have dropped them while the thread was suspended.
#include "platform/win32/win32_platform.h"

#include <wtsapi32.h>

#include <algorithm>
#include <chrono>

namespace tov {

namespace {

// HID usages of the generic desktop page, as hidusage.h numbers them.
constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kMouseUsage = 0x02;
constexpr USHORT kKeyboardUsage = 0x06;
constexpr UINT_PTR kHookCheckTimer = 1;
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

bool RegisterRawInput(HWND target, DWORD flags) {
    const RAWINPUTDEVICE devices[] = {{kGenericDesktopPage, kKeyboardUsage, flags, target},
                                      {kGenericDesktopPage, kMouseUsage, flags, target}};
    return RegisterRawInputDevices(devices, static_cast<UINT>(std::size(devices)), sizeof(RAWINPUTDEVICE)) !=
           FALSE;
}

} // namespace

void Win32Platform::StartWatchdog() {
    const HWND window = serviceWindow_.Get();
    if (!window)
        return;
    const auto now = std::chrono::steady_clock::now();
    NoteReinstalled(keyboardWatch_, now);
    NoteReinstalled(mouseWatch_, now);
    if (!RegisterRawInput(window, RIDEV_INPUTSINK))
        Log("The watchdog hears no raw input (error " + std::to_string(GetLastError()) +
            "); a dropped hook comes back only after an unlock or a resume");
    if (!WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION))
        Log("The watchdog hears of no unlock (error " + std::to_string(GetLastError()) + ")");
    if (const auto registerResume =
            User32Function<RegisterResumeFunction>("RegisterSuspendResumeNotification"))
        resumeNotification_ = registerResume(window, DEVICE_NOTIFY_WINDOW_HANDLE);
    watching_ = true;
}

void Win32Platform::StopWatchdog() {
    if (!watching_)
        return;
    watching_ = false;
    const HWND window = serviceWindow_.Get();
    RegisterRawInput(nullptr, RIDEV_REMOVE);
    WTSUnRegisterSessionNotification(window);
    if (resumeNotification_) {
        if (const auto unregister =
                User32Function<UnregisterResumeFunction>("UnregisterSuspendResumeNotification"))
            unregister(resumeNotification_);
        resumeNotification_ = nullptr;
    }
    KillTimer(window, kHookCheckTimer);
}

void Win32Platform::HearRawInput(HRAWINPUT input) {
    if (!watching_ || !input_)
        return;
    RAWINPUT raw{};
    UINT size = sizeof raw;
    if (GetRawInputData(input, RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1))
        return;
    // The stamp the event got when it happened, however late the main thread hears of it.
    const auto stamp = static_cast<InputTick>(GetMessageTime());
    const auto now = std::chrono::steady_clock::now();
    if (raw.header.dwType == RIM_TYPEKEYBOARD)
        NoteRawInput(keyboardWatch_, stamp, input_->LastKeyboardCall(), now);
    else if (raw.header.dwType == RIM_TYPEMOUSE && (raw.data.mouse.usButtonFlags & kButtonDowns) != 0)
        NoteRawInput(mouseWatch_, stamp, input_->LastMouseCall(), now);
    ScheduleHookCheck();
}

void Win32Platform::ScheduleHookCheck() {
    const HWND window = serviceWindow_.Get();
    std::optional<HookWatch::Time> due = NextCheck(keyboardWatch_);
    if (const auto mouseDue = NextCheck(mouseWatch_))
        due = due ? std::min(*due, *mouseDue) : mouseDue;
    if (!due) {
        KillTimer(window, kHookCheckTimer);
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - std::chrono::steady_clock::now());
    SetTimer(window, kHookCheckTimer,
             static_cast<UINT>(std::max<std::int64_t>(USER_TIMER_MINIMUM, wait.count())), nullptr);
}

void Win32Platform::CheckHooks() {
    KillTimer(serviceWindow_.Get(), kHookCheckTimer);
    if (!watching_ || !input_)
        return;
    const auto now = std::chrono::steady_clock::now();
    const bool keyboardLost = HookLost(keyboardWatch_, input_->LastKeyboardCall(), now);
    const bool mouseLost = HookLost(mouseWatch_, input_->LastMouseCall(), now);
    if (keyboardLost || mouseLost)
        RenewHooks(keyboardLost ? "the keyboard hook was lost" : "the mouse hook was lost");
    ScheduleHookCheck();
}

void Win32Platform::RenewHooks(const std::string& why) {
    Log("Installing the hooks again: " + why);
    input_->ReinstallHooks(why);
    const auto now = std::chrono::steady_clock::now();
    NoteReinstalled(keyboardWatch_, now);
    NoteReinstalled(mouseWatch_, now);
}

} // namespace tov

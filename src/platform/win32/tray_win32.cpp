// The notification-area icon and the pop-up menu of its owner window.
#include "base/text.h"
#include "platform/catch_at_edge.h"
#include "platform/win32/win32_platform.h"

#include <commctrl.h>

#include <algorithm>

namespace tov {

namespace {

constexpr UINT WM_APP_TRAY = WM_APP + 2; // the icon's callback message; WM_APP + 1 wakes the loop
constexpr UINT kTrayIconId = 1;
constexpr UINT_PTR kTraySubclassId = 1;
constexpr UINT_PTR kFirstMenuCommand = 1; // TrackPopupMenu reports 0 for "nothing chosen"

HICON OwnIcon(HWND window) {
    if (auto small = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM)))
        return small;
    return reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
}

} // namespace

LRESULT CALLBACK Win32Platform::TrayOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR id, DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<Win32Platform*>(data);
    if (message == WM_APP_TRAY && wParam == kTrayIconId) {
        CatchAtEdge(self, "the tray icon's mouse handler", [&] {
            if (self->trayHandler_) {
                const auto handler = self->trayHandler_; // the handler may take the icon down
                handler(ToMouseMessage(LOWORD(lParam)));
            }
        });
        return 0;
    }
    if (message == self->taskbarCreated_ && self->taskbarCreated_ != 0 && self->trayWanted_) {
        // Explorer started again (or for the first time): its notification area knows no icons.
        Shell_NotifyIconW(NIM_ADD, &self->trayRecord_);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        if (self->trayWanted_ && self->trayRecord_.hWnd == window)
            self->RemoveTrayIcon();
        RemoveWindowSubclass(window, TrayOwnerProc, id);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

bool Win32Platform::AddTrayIcon(Form& owner, const std::string& tip, TrayMouseHandler onMouse) {
    RemoveTrayIcon();
    const HWND window = reinterpret_cast<HWND>(owner.handle);
    if (!window)
        return false;
    if (!taskbarCreated_)
        taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    if (taskbarCreated_)
        ChangeWindowMessageFilterEx(window, taskbarCreated_, MSGFLT_ALLOW, nullptr); // also when elevated
    if (!SetWindowSubclass(window, TrayOwnerProc, kTraySubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    trayRecord_ = NOTIFYICONDATAW{};
    trayRecord_.cbSize = sizeof trayRecord_;
    trayRecord_.hWnd = window;
    trayRecord_.uID = kTrayIconId;
    trayRecord_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayRecord_.uCallbackMessage = WM_APP_TRAY;
    trayRecord_.hIcon = OwnIcon(window);
    const std::u16string text = Utf16ForField(tip, std::size(trayRecord_.szTip));
    std::copy(text.begin(), text.end(), trayRecord_.szTip);
    trayHandler_ = std::move(onMouse);
    trayWanted_ = true;
    // When the shell is not up yet, its TaskbarCreated message brings the icon later.
    return Shell_NotifyIconW(NIM_ADD, &trayRecord_) != FALSE;
}

void Win32Platform::RemoveTrayIcon() {
    if (!trayWanted_)
        return;
    trayWanted_ = false;
    Shell_NotifyIconW(NIM_DELETE, &trayRecord_); // fails harmlessly when the shell never had it
    if (IsWindow(trayRecord_.hWnd))
        RemoveWindowSubclass(trayRecord_.hWnd, TrayOwnerProc, kTraySubclassId);
    trayHandler_ = nullptr;
    trayRecord_ = NOTIFYICONDATAW{};
}

void Win32Platform::ShowTrayBalloon(const std::string& title, const std::string& text, BalloonIcon icon) {
    if (!trayWanted_)
        return;
    NOTIFYICONDATAW balloon = trayRecord_;
    balloon.uFlags = NIF_INFO;
    // A warning may sound; news of something the user just did need not.
    balloon.dwInfoFlags = icon == BalloonIcon::Warning ? NIIF_WARNING : NIIF_INFO | NIIF_NOSOUND;
    const std::u16string wideTitle = Utf16ForField(title, std::size(balloon.szInfoTitle));
    const std::u16string wideText = Utf16ForField(text, std::size(balloon.szInfo));
    std::copy(wideTitle.begin(), wideTitle.end(), balloon.szInfoTitle);
    std::copy(wideText.begin(), wideText.end(), balloon.szInfo);
    if (!Shell_NotifyIconW(NIM_MODIFY, &balloon))
        Log("tray balloon: the shell did not take it");
}

std::optional<std::size_t> Win32Platform::ShowPopupMenu(Form& owner) {
    const HWND window = reinterpret_cast<HWND>(owner.handle);
    if (!window || owner.popupMenu.empty())
        return std::nullopt;
    win32::UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return std::nullopt;
    for (std::size_t i = 0; i < owner.popupMenu.size(); ++i)
        if (!AppendMenuW(menu.Get(), MF_STRING, kFirstMenuCommand + i,
                         win32::Wide(owner.popupMenu[i].caption).c_str()))
            return std::nullopt;
    POINT at{};
    if (!GetCursorPos(&at))
        return std::nullopt;
    // Unless its owner is in front, the menu stays open when the user clicks elsewhere...
    SetForegroundWindow(window);
    const auto chosen = static_cast<UINT_PTR>(TrackPopupMenu(
        menu.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
    // ...and a second right click would open it only after the owner's next message.
    PostMessageW(window, WM_NULL, 0, 0);
    if (chosen < kFirstMenuCommand || chosen - kFirstMenuCommand >= owner.popupMenu.size())
        return std::nullopt;
    return chosen - kFirstMenuCommand;
}

} // namespace tov

// Waiting with the message loop running, and measuring wrapped text.
#include "platform/win32/win32_platform.h"

#include <algorithm>
#include <chrono>

namespace tov {

MonotonicTime Win32Platform::MonotonicNow() {
    return std::chrono::steady_clock::now();
}

void Win32Platform::PumpMessagesUntil(MonotonicTime deadline) {
    for (;;) {
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The quit is the main loop's to see; there is nothing left to wait for.
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

Size Win32Platform::MeasureWrappedText(const Font& font, std::string_view text, int width, int dpi) {
    win32::ScreenDc dc;
    if (!dc.Get() || width <= 0)
        return {};
    HGDIOBJ old = SelectObject(dc.Get(), FontFor(font, dpi));
    const std::wstring wide = win32::Wide(text);
    // One pixel narrower than the label, so rounding at odd scales never wraps the drawn text
    // onto a line more than was measured.
    RECT box{0, 0, std::max(1, ScaleToDpi(width, dpi) - 1), 0};
    DrawTextW(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &box,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc.Get(), old);
    // Rounded up: a label a pixel short loses the descenders of its last line.
    const auto up = [dpi](int physical) {
        return ScaleFromDpi(physical, dpi) + (ScaleToDpi(ScaleFromDpi(physical, dpi), dpi) < physical);
    };
    return Size{up(box.right - box.left), up(box.bottom - box.top)};
}

} // namespace tov

// A window titled "Key clock" that writes, for every key press it receives, the key and how long
// it took to arrive: the clock when the window got it less the stamp the system gave the event
// when it happened. A low-level hook that keeps a key waiting shows as that difference.
// Usage: key_clock FILE (a Windows path); a line "vk=N delay_ms=N" per key, flushed at once.
#include <windows.h>

#include <cstdio>

namespace {

std::FILE* out = nullptr;

LRESULT CALLBACK ClockProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_KEYDOWN: {
        const DWORD delay = GetTickCount() - static_cast<DWORD>(GetMessageTime());
        std::fprintf(out, "vk=%u delay_ms=%lu\n", static_cast<unsigned>(wParam),
                     static_cast<unsigned long>(delay));
        std::fflush(out);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !(out = std::fopen(argv[1], "w")))
        return 1;
    WNDCLASSW wc{};
    wc.lpfnWndProc = ClockProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KeyClock";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    const HWND window = CreateWindowExW(0, L"KeyClock", L"Key clock", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300,
                                        300, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window)
        return 1;
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::fclose(out);
    return 0;
}

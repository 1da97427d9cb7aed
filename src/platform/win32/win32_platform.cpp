#include "platform/win32/win32_platform.h"

#include "platform/win32/make_win32_platform.h"

#include "base/text.h"
#include "platform/catch_at_edge.h"

#include <commctrl.h>

namespace tov {

namespace win32 {

std::wstring Wide(std::string_view utf8) {
    const std::u16string w = Utf8ToUtf16(utf8);
    return std::wstring(w.begin(), w.end());
}

std::string Narrow(std::wstring_view wide) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

} // namespace win32

namespace {

constexpr wchar_t kWakeClass[] = L"TovlenWake";
constexpr UINT WM_APP_WAKE = WM_APP + 1;
constexpr std::size_t kMaxTopLevelWindows = 65536; // a guard against a window list that changes under us
constexpr UINT TOUNICODE_NO_STATE_CHANGE = 0x4;    // keeps the focused program's dead-key state intact

} // namespace

KeyMessage ToKeyMessage(WPARAM message) {
    switch (message) {
    case WM_KEYUP:
        return KeyMessage::KeyUp;
    case WM_SYSKEYDOWN:
        return KeyMessage::SysKeyDown;
    case WM_SYSKEYUP:
        return KeyMessage::SysKeyUp;
    default:
        return KeyMessage::KeyDown;
    }
}

MouseMessage ToMouseMessage(UINT message) {
    switch (message) {
    case WM_MOUSEMOVE:
        return MouseMessage::Move;
    case WM_LBUTTONDOWN:
        return MouseMessage::LeftDown;
    case WM_LBUTTONUP:
        return MouseMessage::LeftUp;
    case WM_RBUTTONDOWN:
        return MouseMessage::RightDown;
    case WM_RBUTTONUP:
        return MouseMessage::RightUp;
    case WM_MBUTTONDOWN:
        return MouseMessage::MiddleDown;
    case WM_MBUTTONUP:
        return MouseMessage::MiddleUp;
    case WM_MOUSEWHEEL:
        return MouseMessage::Wheel;
    default:
        return MouseMessage::Other;
    }
}

Win32Platform::Win32Platform() {
    instance_ = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WakeWindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kWakeClass;
    RegisterClassExW(&wc);
    wakeWindow_.Reset(
        CreateWindowExW(0, kWakeClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, this));
    CreateServiceWindow();
    RegisterFormClasses();
}

Win32Platform::~Win32Platform() {
    // The input thread first: the workers' grace must not hold the hooks up.
    StopInput();
    background_.reset();
    RemoveTrayIcon();
    serviceWindow_.Reset();
    if (ownsInstanceMutex_)
        ReleaseMutex(instanceMutex_.Get());
    wakeWindow_.Reset();
}

std::unique_ptr<Platform> MakeWin32Platform() {
    return std::make_unique<Win32Platform>();
}

LRESULT CALLBACK Win32Platform::WakeWindowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_APP_WAKE && self) {
        self->wakePosted_ = false;
        CatchAtEdge(self, "the wake handler", [self] {
            if (self->wakeHandler_) {
                const auto handler = self->wakeHandler_; // the handler may replace itself
                handler();
            }
        });
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Win32Platform::RunOneMessage() {
    MSG msg{};
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1)
        return false;
    if (HandleDialogKeys(msg))
        return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void Win32Platform::PumpPendingMessages() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the main loop to see.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (HandleDialogKeys(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Win32Platform::SetWakeHandler(std::function<void()> handler) {
    wakeHandler_ = std::move(handler);
}

void Win32Platform::RequestWake() {
    if (wakePosted_ || !wakeWindow_)
        return;
    wakePosted_ = PostMessageW(wakeWindow_.Get(), WM_APP_WAKE, 0, 0) != 0;
}

void Win32Platform::RaisePriority() {
    // The process stays in the normal class with every other program: only the input thread,
    // which answers the hooks in microseconds, runs above them (input_thread_win32.cpp); the
    // main thread, which draws what the keys changed, a step above normal; the workers below.
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
}

std::string Win32Platform::TranslateKey(const KeyEvent& event) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    // A low-level hook runs before the system updates this thread's key state, and the
    // state belongs to whichever thread has the focus; ask for the modifiers as they are now.
    // Each side is asked once, as this runs inside the keyboard hook; a modifier is down when
    // either side is.
    struct Modifier {
        int either, left, right;
    };
    constexpr Modifier kModifiers[] = {{VK_SHIFT, VK_LSHIFT, VK_RSHIFT},
                                       {VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
                                       {VK_MENU, VK_LMENU, VK_RMENU}};
    for (const Modifier& m : kModifiers) {
        keys[m.left] = (GetAsyncKeyState(m.left) & 0x8000) ? 0x80 : 0;
        keys[m.right] = (GetAsyncKeyState(m.right) & 0x8000) ? 0x80 : 0;
        keys[m.either] = keys[m.left] | keys[m.right];
    }
    keys[VK_CAPITAL] = (GetKeyState(VK_CAPITAL) & 1) ? 1 : 0;
    // The letters the user sees on the keys are those of the layout of the window typed into,
    // which need not be ours.
    const HWND front = GetForegroundWindow();
    const HKL layout = GetKeyboardLayout(front ? GetWindowThreadProcessId(front, nullptr) : 0);
    wchar_t buffer[8] = {};
    const int n = ToUnicodeEx(event.vkCode, event.scanCode, keys, buffer,
                              static_cast<int>(std::size(buffer)) - 1, TOUNICODE_NO_STATE_CHANGE, layout);
    if (n == 0)
        return {};
    // A dead key reports -1 with its accent in the buffer; the accent is what gets typed.
    const int count = n < 0 ? 1 : n;
    return win32::Narrow(std::wstring_view(buffer, static_cast<std::size_t>(count)));
}

WindowHandle Win32Platform::ForegroundWindow() {
    return reinterpret_cast<WindowHandle>(GetForegroundWindow());
}

std::string Win32Platform::WindowCaption(WindowHandle window) {
    const HWND hwnd = reinterpret_cast<HWND>(window);
    if (!hwnd || !IsWindow(hwnd))
        return {};
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return win32::Narrow(text);
}

std::vector<WindowHandle> Win32Platform::TopLevelWindows() {
    std::vector<WindowHandle> out;
    for (HWND h = GetTopWindow(nullptr); h && out.size() < kMaxTopLevelWindows; h = GetWindow(h, GW_HWNDNEXT))
        out.push_back(reinterpret_cast<WindowHandle>(h));
    return out;
}

bool Win32Platform::OwnWindow(WindowHandle window) {
    DWORD process = 0;
    return GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &process) != 0 &&
           process == GetCurrentProcessId();
}

WindowHandle Win32Platform::TopLevelWindowAt(Point screenPoint) {
    const HWND h = WindowFromPoint(POINT{screenPoint.x, screenPoint.y});
    return reinterpret_cast<WindowHandle>(h ? GetAncestor(h, GA_ROOT) : nullptr);
}

std::optional<SystemColours> Win32Platform::HighContrastColours() {
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof setting;
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, setting.cbSize, &setting, 0) ||
        !(setting.dwFlags & HCF_HIGHCONTRASTON))
        return std::nullopt;
    return SystemColours{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
                         GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_HIGHLIGHT),
                         GetSysColor(COLOR_HIGHLIGHTTEXT)};
}

MessageBoxResult Win32Platform::ShowMessageBox(const std::string& text, const std::string& title,
                                               MessageBoxButtons buttons) {
    // The program has no window in front when it asks, so the box must come forward itself.
    const UINT style =
        (buttons == MessageBoxButtons::YesNo ? MB_YESNO : MB_OK) | MB_SETFOREGROUND | MB_TOPMOST;
    const int answer = MessageBoxW(nullptr, win32::Wide(text).c_str(), win32::Wide(title).c_str(), style);
    switch (answer) {
    case IDYES:
        return MessageBoxResult::Yes;
    case IDNO:
        return MessageBoxResult::No;
    case IDCANCEL:
        return MessageBoxResult::Cancel;
    default:
        return MessageBoxResult::Ok;
    }
}

std::optional<std::string> Win32Platform::ReadSetting(const std::string& app, const std::string& section,
                                                      const std::string& key) {
    const std::wstring path = win32::Wide("Software\\" + app + "\\" + section);
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return std::nullopt;
    win32::UniqueKey hkey(raw);
    const std::wstring name = win32::Wide(key);
    DWORD bytes = 0;
    if (RegGetValueW(hkey.Get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(hkey.Get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcsnlen(value.c_str(), value.size()));
    return win32::Narrow(value);
}

void Win32Platform::WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                                 const std::string& value) {
    const std::wstring path = win32::Wide("Software\\" + app + "\\" + section);
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS)
        return; // a setting that cannot be written is not reported
    win32::UniqueKey hkey(raw);
    const std::wstring data = win32::Wide(value);
    RegSetValueExW(hkey.Get(), win32::Wide(key).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

} // namespace tov

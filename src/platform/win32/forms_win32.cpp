// Forms as real windows: native controls for what the user operates, everything else
// (labels, images, picture boxes, frames, lines) painted by the form itself. This file holds
// the window's life and its messages; its parts are in the other form_*_win32.cpp files.
#include "platform/catch_at_edge.h"
#include "platform/win32/accessible_win32.h"
#include "platform/win32/dpi_win32.h"
#include "platform/win32/form_window_win32.h"

#include <cmath>

namespace tov {

using win32::FormWindow;
using win32::WindowData;

namespace {

constexpr int kAppIconId = 1;

win32::UniqueIcon AppIconOfSize(HWND hwnd, int size) {
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
    return win32::UniqueIcon(
        static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON, size, size, 0)));
}

// A window with a caption bar shows the program's icon at the sizes of its scale; one that
// cannot be loaded leaves the one shown before.
void ShowIconsAtScale(FormWindow& w) {
    if (!w.form->style.captionBar || w.iconDpi == w.dpi)
        return;
    w.iconDpi = w.dpi;
    const auto replace = [&](win32::UniqueIcon& kept, WPARAM which, int metric) {
        win32::UniqueIcon icon = AppIconOfSize(w.hwnd, win32::MetricForDpi(metric, w.dpi));
        if (!icon)
            return;
        SendMessageW(w.hwnd, WM_SETICON, which, reinterpret_cast<LPARAM>(icon.Get()));
        kept = std::move(icon);
    };
    replace(w.smallIcon, ICON_SMALL, SM_CXSMICON);
    replace(w.bigIcon, ICON_BIG, SM_CXICON);
}

// Moves and sizes the window as its form says, laid out at `dpi`.
void Arrange(FormWindow& w, int dpi) {
    Form& f = *w.form;
    w.dpi = dpi;
    f.dpi = dpi;
    SIZE size{ScaleToDpi(f.rect.width, dpi), ScaleToDpi(f.rect.height, dpi)};
    if (f.style.captionBar)
        size = win32::OuterSize(size, static_cast<DWORD>(GetWindowLongPtrW(w.hwnd, GWL_STYLE)),
                                static_cast<DWORD>(GetWindowLongPtrW(w.hwnd, GWL_EXSTYLE)), dpi);
    const Rect at = ScreenRect(f);
    w.placing = true;
    SetWindowPos(w.hwnd, nullptr, at.left, at.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    w.placing = false;
    w.placed = f.rect;
    w.placedOrigin = f.origin;
    ShowIconsAtScale(w);
}

// The window came to a monitor of another scale, or its monitor's scale changed: it stays where
// the system put it, laid out at the new scale, and then its form hears of it.
void FollowScaleChange(FormWindow& w, int dpi, const RECT& suggested) {
    Form& f = *w.form;
    f.origin =
        Point{suggested.left - ScaleToDpi(f.rect.left, dpi), suggested.top - ScaleToDpi(f.rect.top, dpi)};
    Arrange(w, dpi);
    win32::SyncControls(w);
    InvalidateRect(w.hwnd, nullptr, FALSE);
    win32::CallHandler(f.onScaleChange);
}

// The windowless control with a click handler at a point of the client area, topmost first.
const Control* ClickableAt(FormWindow& w, Point at) {
    const Form& form = *w.form;
    for (auto it = form.controls.rbegin(); it != form.controls.rend(); ++it) {
        if (win32::IsNative(it->kind) || !win32::EffectivelyVisible(form, *it) || !it->enabled ||
            !it->onClick)
            continue;
        if (win32::FormRect(form, *it).Contains(at))
            return &*it;
    }
    return nullptr;
}

LRESULT FormMessage(FormWindow* w, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETOBJECT:
        if (w->form->accessible || w->form->style.captionBar)
            if (const LRESULT answer =
                    win32::AnswerGetObject(w->platform, hwnd, wParam, lParam, win32::DescribeForScreen))
                return answer;
        break;
    case WM_SETTINGCHANGE:
        if (wParam != SPI_SETHIGHCONTRAST)
            break;
        [[fallthrough]];
    case WM_SYSCOLORCHANGE:
        win32::CallHandler(w->form->onSystemColoursChange);
        break;
    case WM_ACTIVATE:
        if (!w->form->style.captionBar)
            break;
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = GetFocus(); focus && IsChild(hwnd, focus))
                w->lastFocus = focus;
            break;
        }
        if (HIWORD(wParam) == 0)
            if (HWND first = win32::FirstFocus(*w)) {
                win32::Focus(*w, first);
                // Opened from the keyboard or not, the focus and the access keys show.
                SendMessageW(hwnd, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL),
                             0);
                return 0;
            }
        break;
    case WM_NEXTDLGCTL: {
        // A window that is not a dialog gets this from the system's dialog keys (Tab), and
        // nobody else acts on it.
        HWND focus = GetFocus();
        HWND next = LOWORD(lParam)
                        ? reinterpret_cast<HWND>(wParam)
                        : GetNextDlgTabItem(hwnd, IsChild(hwnd, focus) ? focus : nullptr, wParam != 0);
        win32::Focus(*w, next);
        return 0;
    }
    case DM_GETDEFID:
        if (const Control* button =
                w->form->defaultButton.Empty() ? nullptr : w->form->Find(w->form->defaultButton))
            for (const auto& [id, key] : w->byId)
                if (key.first == button->name)
                    return MAKELRESULT(id, DC_HASDEFID);
        return 0;
    case WM_DPICHANGED:
        // The window's own moves take the scale of where they go before they are made.
        if (!w->placing)
            FollowScaleChange(*w, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_PAINT:
        win32::Paint(*w);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        if (!w->form->style.activateOnShow)
            return MA_NOACTIVATE;
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT cursor{};
            GetCursorPos(&cursor);
            ScreenToClient(hwnd, &cursor);
            const Control* under = ClickableAt(*w, win32::FormPoint(*w, cursor));
            if (under && under->kind == ControlKind::Label) {
                // A label that does something when clicked is a link.
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN: {
        const Point at = win32::FormPoint(
            *w, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        Form& form = *w->form;
        if (const Control* clicked = ClickableAt(*w, at)) {
            win32::CallHandler(clicked->onClick);
            return 0;
        }
        if (form.onMouse) {
            const auto handler = form.onMouse;
            handler(at);
        }
        return 0;
    }
    case WM_COMMAND:
        if (lParam != 0)
            return win32::ControlCommand(*w, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam != 0)
            return win32::ScrollNotification(*w, reinterpret_cast<HWND>(lParam));
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, w->form->backColour);
        return reinterpret_cast<LRESULT>(win32::BackBrush(*w));
    }
    case WM_CLOSE:
        if (w->form->onClose)
            win32::CallHandler(w->form->onClose);
        else
            ShowWindow(hwnd, SW_HIDE);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK FormWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* w = static_cast<FormWindow*>(cs->lpCreateParams);
        w->hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
    }
    FormWindow* w = WindowData(hwnd);
    if (w && message == WM_NCDESTROY) {
        // Also when the form has let go of the window already (DestroyFormWindow): the data
        // and its brush would be lost otherwise.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (w->form && w->form->handle == reinterpret_cast<WindowHandle>(hwnd)) {
            w->form->handle = 0;
            w->form->visible = false;
        }
        delete w;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (!w || !w->form)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return CatchAtEdge(w->platform, "a form's window procedure", LRESULT{0},
                       [&] { return FormMessage(w, hwnd, message, wParam, lParam); });
}

FormWindow* DataOf(const Form& form) {
    return form.handle ? WindowData(reinterpret_cast<HWND>(form.handle)) : nullptr;
}

} // namespace

// The window is laid out for the monitor at its form's origin, and again at the scale the system
// gives it should it find the window on another (one that holds more of it).
void win32::PlaceWindow(FormWindow& w) {
    const Form& f = *w.form;
    const int before = w.dpi;
    Arrange(w, win32::MonitorDpi(MonitorFromPoint(POINT{f.origin.x, f.origin.y}, MONITOR_DEFAULTTONEAREST)));
    if (const int actual = win32::WindowDpi(w.hwnd); actual != w.dpi)
        Arrange(w, actual);
    win32::SyncControls(w);
    if (w.dpi != before)
        InvalidateRect(w.hwnd, nullptr, FALSE);
}

void Win32Platform::RegisterFormClasses() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FormWindowProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kAppIconId));
    wc.lpszClassName = win32::kFormClass;
    RegisterClassExW(&wc);
}

HFONT Win32Platform::FontFor(const Font& font, int dpi) {
    const int hundredths = static_cast<int>(std::lround(font.points * 100));
    auto key = std::make_tuple(font.face, hundredths, font.bold, dpi);
    auto it = fonts_.find(key);
    if (it != fonts_.end())
        return static_cast<HFONT>(it->second.Get());
    const int height = -MulDiv(hundredths, dpi, 72 * 100);
    HFONT created = CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, win32::Wide(font.face).c_str());
    if (!created)
        created = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    else
        fonts_.emplace(key, win32::UniqueGdiObject(created));
    return created;
}

bool Win32Platform::CreateFormWindow(Form& form) {
    if (form.handle)
        return true;
    DWORD style = WS_CLIPCHILDREN;
    style |= form.style.captionBar ? (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX) : WS_POPUP;
    DWORD exStyle = form.style.toolWindow ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW;
    if (form.style.topmost)
        exStyle |= WS_EX_TOPMOST;
    if (!form.style.activateOnShow)
        exStyle |= WS_EX_NOACTIVATE;
    if (form.style.captionBar)
        exStyle |= WS_EX_CONTROLPARENT; // Tab moves between its controls
    auto* data = new FormWindow;
    data->platform = this;
    data->form = &form;
    HWND hwnd = CreateWindowExW(exStyle, win32::kFormClass, win32::Wide(form.caption).c_str(), style, 0, 0, 0,
                                0, nullptr, nullptr, instance_, data);
    if (!hwnd) {
        delete data; // WM_NCCREATE never ran, so nobody else owns it
        return false;
    }
    form.handle = reinterpret_cast<WindowHandle>(hwnd);
    form.visible = false;
    win32::PlaceWindow(*data);
    return true;
}

void Win32Platform::DestroyFormWindow(Form& form) {
    if (!form.handle)
        return;
    HWND hwnd = reinterpret_cast<HWND>(form.handle);
    form.handle = 0;
    form.visible = false;
    if (FormWindow* data = WindowData(hwnd))
        data->form = nullptr;
    DestroyWindow(hwnd);
}

void Win32Platform::ShowForm(Form& form) {
    FormWindow* data = DataOf(form);
    if (!data)
        return;
    if (form.style.activateOnShow) {
        ShowWindow(data->hwnd, IsIconic(data->hwnd) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(data->hwnd);
    } else {
        ShowWindow(data->hwnd, SW_SHOWNOACTIVATE);
    }
    form.visible = true;
    UpdateWindow(data->hwnd);
    win32::TellScreenReaders(*data);
}

void Win32Platform::HideForm(Form& form) {
    if (FormWindow* data = DataOf(form)) {
        ShowWindow(data->hwnd, SW_HIDE);
        data->told.reset();
    }
    form.visible = false;
}

void Win32Platform::PlaceForm(Form& form) {
    if (FormWindow* data = DataOf(form))
        win32::PlaceWindow(*data);
}

void Win32Platform::UpdateForm(Form& form) {
    FormWindow* data = DataOf(form);
    if (!data)
        return;
    if (form.rect != data->placed || form.origin != data->placedOrigin)
        win32::PlaceWindow(*data);
    if (GetWindowTextLengthW(data->hwnd) >= 0) {
        const std::wstring caption = win32::Wide(form.caption);
        wchar_t current[256] = {};
        GetWindowTextW(data->hwnd, current, static_cast<int>(std::size(current)));
        if (caption != current)
            SetWindowTextW(data->hwnd, caption.c_str());
    }
    win32::SyncControls(*data);
    InvalidateRect(data->hwnd, nullptr, FALSE);
    if (form.visible)
        UpdateWindow(data->hwnd);
    win32::TellScreenReaders(*data);
}

void Win32Platform::MakeTopmost(Form& form) {
    if (FormWindow* data = DataOf(form))
        SetWindowPos(data->hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

bool Win32Platform::SetLayeredOpacity(WindowHandle window, int alpha) {
    HWND hwnd = reinterpret_cast<HWND>(window);
    if (!hwnd)
        return false;
    SetLastError(0);
    const LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    if (ex == 0 && GetLastError() != 0)
        return false;
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    return SetLayeredWindowAttributes(hwnd, 0, static_cast<BYTE>(alpha), LWA_ALPHA) != 0;
}

Size Win32Platform::MeasureText(const Font& font, std::string_view text, int dpi) {
    win32::ScreenDc dc;
    if (!dc.Get())
        return {};
    HGDIOBJ old = SelectObject(dc.Get(), FontFor(font, dpi));
    Size out;
    if (text.empty()) {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc.Get(), &tm);
        out = Size{0, ScaleFromDpi(tm.tmHeight, dpi)};
    } else {
        const std::wstring wide = win32::Wide(text);
        SIZE size{};
        GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
        out = Size{ScaleFromDpi(size.cx, dpi), ScaleFromDpi(size.cy, dpi)};
    }
    SelectObject(dc.Get(), old);
    return out;
}

} // namespace tov

// Forms as real windows: native controls for what the user operates, everything else
// (labels, images, picture boxes, frames, lines) painted by the form itself.
#include "platform/catch_at_edge.h"
#include "platform/win32/accessible_win32.h"
#include "platform/win32/win32_picture.h"
#include "platform/win32/win32_platform.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cwctype>
#include <map>
#include <utility>

namespace tov {

namespace {

constexpr wchar_t kFormClass[] = L"TovlenForm";
constexpr int kFirstControlId = 1000;
constexpr int kAppIconId = 1;
constexpr int kSliderTicks = 10; // tick marks along a slider, whatever its range

bool IsNative(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::ListBox:
    case ControlKind::Slider:
    case ControlKind::UpDown:
        return true;
    default:
        return false;
    }
}

using ControlKey = std::pair<ControlName, int>;

struct NativeControl {
    HWND hwnd = nullptr;
    std::vector<std::string> items; // what the list box shows, to refill only on change
};

struct FormWindow {
    Win32Platform* platform = nullptr;
    Form* form = nullptr;
    HWND hwnd = nullptr;
    std::map<ControlKey, NativeControl> natives;
    std::map<int, ControlKey> byId;
    int nextId = kFirstControlId;
    win32::UniqueGdiObject backBrush;
    Colour brushColour = 0;
    Rect placed{-1, -1, -1, -1};
    HWND lastFocus = nullptr; // the control to give the focus back to when the window is activated again
    std::optional<AccessibleWindow> told; // what screen readers were last told, while shown
};

FormWindow* WindowData(HWND hwnd) {
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

Control* FindControl(Form& form, const ControlKey& key) {
    return form.Find(key.first, key.second);
}

// Controls inside a frame are placed relative to the frame, and hidden with it.
Rect FormRect(const Form& form, const Control& c) {
    Rect r = c.rect;
    if (!c.parent.Empty())
        if (const Control* frame = form.Find(c.parent)) {
            r.left += frame->rect.left;
            r.top += frame->rect.top;
        }
    return r;
}

bool EffectivelyVisible(const Form& form, const Control& c) {
    if (!c.visible)
        return false;
    if (!c.parent.Empty())
        if (const Control* frame = form.Find(c.parent))
            return frame->visible;
    return true;
}

RECT ScreenRect(const Win32Platform& p, const Rect& r) {
    return RECT{p.ToScreen(r.left), p.ToScreen(r.top), p.ToScreen(r.left + r.width),
                p.ToScreen(r.top + r.height)};
}

std::wstring MarkedText(const Control& c) {
    return win32::Wide(TextWithAccessKey(c));
}

HBRUSH BackBrush(FormWindow& w) {
    if (!w.backBrush || w.brushColour != w.form->backColour) {
        w.backBrush.Reset(CreateSolidBrush(w.form->backColour));
        w.brushColour = w.form->backColour;
    }
    return static_cast<HBRUSH>(w.backBrush.Get());
}

HWND CreateNative(FormWindow& w, const Control& c, int id) {
    const wchar_t* cls = L"BUTTON";
    DWORD style = WS_CHILD | WS_TABSTOP;
    switch (c.kind) {
    case ControlKind::Button:
        style |= c.name == w.form->defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        break;
    case ControlKind::CheckBox:
        style |= BS_AUTOCHECKBOX;
        break;
    case ControlKind::OptionButton:
        style |= BS_RADIOBUTTON;
        break;
    case ControlKind::ListBox:
        cls = L"LISTBOX";
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER;
        break;
    case ControlKind::Slider:
        cls = TRACKBAR_CLASSW;
        style |= TBS_HORZ | TBS_AUTOTICKS;
        break;
    case ControlKind::UpDown:
        cls = UPDOWN_CLASSW;
        style |= UDS_ARROWKEYS;
        break;
    default:
        break;
    }
    HWND h =
        CreateWindowExW(0, cls, L"", style, 0, 0, 0, 0, w.hwnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), w.platform->Instance(), nullptr);
    return h;
}

void SyncNative(FormWindow& w, const Control& c, NativeControl& n) {
    Win32Platform& p = *w.platform;
    const RECT r = ScreenRect(p, FormRect(*w.form, c));
    SetWindowPos(n.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(n.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(p.FontFor(c.font.value_or(w.form->font))),
                 FALSE);
    const std::wstring text = MarkedText(c);
    wchar_t current[512] = {};
    GetWindowTextW(n.hwnd, current, static_cast<int>(std::size(current)));
    if (text != current)
        SetWindowTextW(n.hwnd, text.c_str());
    EnableWindow(n.hwnd, c.enabled);
    switch (c.kind) {
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
        SendMessageW(n.hwnd, BM_SETCHECK, c.value ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ControlKind::ListBox:
        if (n.items != c.items) {
            SendMessageW(n.hwnd, LB_RESETCONTENT, 0, 0);
            for (const auto& item : c.items)
                SendMessageW(n.hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::Wide(item).c_str()));
            n.items = c.items;
        }
        if (SendMessageW(n.hwnd, LB_GETCURSEL, 0, 0) != c.value)
            SendMessageW(n.hwnd, LB_SETCURSEL, static_cast<WPARAM>(c.value), 0);
        break;
    case ControlKind::Slider:
        SendMessageW(n.hwnd, TBM_SETRANGEMIN, FALSE, c.minimum);
        SendMessageW(n.hwnd, TBM_SETRANGEMAX, FALSE, c.maximum);
        SendMessageW(n.hwnd, TBM_SETTICFREQ,
                     static_cast<WPARAM>(std::max(1, (c.maximum - c.minimum) / kSliderTicks)), 0);
        if (SendMessageW(n.hwnd, TBM_GETPOS, 0, 0) != c.value)
            SendMessageW(n.hwnd, TBM_SETPOS, TRUE, c.value);
        break;
    case ControlKind::UpDown:
        SendMessageW(n.hwnd, UDM_SETRANGE32, static_cast<WPARAM>(c.minimum), c.maximum);
        if (SendMessageW(n.hwnd, UDM_GETPOS32, 0, 0) != c.value)
            SendMessageW(n.hwnd, UDM_SETPOS32, 0, c.value);
        break;
    default:
        break;
    }
    ShowWindow(n.hwnd, EffectivelyVisible(*w.form, c) ? SW_SHOWNA : SW_HIDE);
}

void SyncControls(FormWindow& w) {
    std::map<ControlKey, NativeControl> kept;
    for (const Control& c : w.form->controls) {
        if (!IsNative(c.kind))
            continue;
        const ControlKey key{c.name, c.index};
        auto it = w.natives.find(key);
        NativeControl n;
        if (it != w.natives.end()) {
            n = std::move(it->second);
            w.natives.erase(it);
        } else {
            const int id = w.nextId++;
            n.hwnd = CreateNative(w, c, id);
            w.byId[id] = key;
        }
        if (n.hwnd)
            SyncNative(w, c, n);
        kept[key] = std::move(n);
    }
    for (auto& [key, gone] : w.natives)
        DestroyWindow(gone.hwnd);
    w.natives = std::move(kept);
}

void PlaceWindow(FormWindow& w) {
    Win32Platform& p = *w.platform;
    const Form& f = *w.form;
    RECT r{0, 0, p.ToScreen(f.rect.width), p.ToScreen(f.rect.height)};
    if (f.style.captionBar)
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(w.hwnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(w.hwnd, GWL_EXSTYLE)));
    SetWindowPos(w.hwnd, nullptr, p.ToScreen(f.rect.left), p.ToScreen(f.rect.top), r.right - r.left,
                 r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    w.placed = f.rect;
}

void DrawLabel(HDC dc, Win32Platform& p, const Form& form, const Control& c, const RECT& r) {
    if (c.text.empty())
        return;
    SelectObject(dc, p.FontFor(c.font.value_or(form.font)));
    SetTextColor(dc, c.textColour.value_or(GetSysColor(COLOR_WINDOWTEXT)));
    SetBkMode(dc, TRANSPARENT);
    UINT format = DT_EXPANDTABS;
    format |= c.wrap ? DT_WORDBREAK : 0;
    format |= c.centred ? DT_CENTER : DT_LEFT;
    RECT box = r;
    const std::wstring text = MarkedText(c);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
}

void DrawFrame(HDC dc, Win32Platform& p, const Form& form, const Control& c, const RECT& r) {
    HFONT font = p.FontFor(c.font.value_or(form.font));
    SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT edge = r;
    edge.top += tm.tmHeight / 2;
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
    if (c.text.empty())
        return;
    const std::wstring text = MarkedText(c);
    RECT measured{};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_SINGLELINE | DT_CALCRECT);
    const int pad = p.ToScreen(4);
    RECT label{r.left + p.ToScreen(8), r.top, r.left + p.ToScreen(8) + measured.right + 2 * pad,
               r.top + tm.tmHeight};
    win32::UniqueGdiObject back(CreateSolidBrush(form.backColour));
    FillRect(dc, &label, static_cast<HBRUSH>(back.Get()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT textBox{label.left + pad, label.top, label.right, label.bottom};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textBox, DT_SINGLELINE);
}

void Paint(FormWindow& w) {
    PAINTSTRUCT ps{};
    HDC screen = BeginPaint(w.hwnd, &ps);
    RECT client{};
    GetClientRect(w.hwnd, &client);
    // Painting into memory first keeps the window from flickering while the user types.
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    FillRect(dc, &client, BackBrush(w));
    const Form& form = *w.form;
    Win32Platform& p = *w.platform;
    if (auto* back = dynamic_cast<const Win32Picture*>(form.background.get()))
        back->Draw(dc, client);
    for (const Control& c : form.controls) {
        if (IsNative(c.kind) || !EffectivelyVisible(form, c))
            continue;
        const RECT r = ScreenRect(p, FormRect(form, c));
        switch (c.kind) {
        case ControlKind::Label:
            if (c.backColour) {
                win32::UniqueGdiObject brush(CreateSolidBrush(*c.backColour));
                FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
            }
            DrawLabel(dc, p, form, c, r);
            break;
        case ControlKind::PictureBox:
        case ControlKind::Image:
            if (c.backColour) {
                win32::UniqueGdiObject brush(CreateSolidBrush(*c.backColour));
                FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
            }
            if (auto* picture = dynamic_cast<const Win32Picture*>(c.picture.get()))
                picture->Draw(dc, r);
            break;
        case ControlKind::Frame:
            DrawFrame(dc, p, form, c, r);
            break;
        case ControlKind::Line: {
            RECT line{r.left, r.top, r.right, r.top + 2};
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
            break;
        }
        default:
            break;
        }
    }
    BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EndPaint(w.hwnd, &ps);
}

// Event handlers may unload their own form, which destroys this window: take a copy of the
// handler, call it, and touch nothing of the window afterwards.
void Call(const std::function<void()>& handler) {
    if (handler) {
        const auto copy = handler;
        copy();
    }
}

LRESULT ControlCommand(FormWindow& w, int id, int code) {
    auto it = w.byId.find(id);
    if (it == w.byId.end())
        return 0;
    const ControlKey key = it->second;
    Control* c = FindControl(*w.form, key);
    if (!c || w.natives.find(key) == w.natives.end())
        return 0;
    HWND h = w.natives[key].hwnd;
    switch (c->kind) {
    case ControlKind::Button:
        if (code == BN_CLICKED)
            Call(c->onClick);
        break;
    case ControlKind::CheckBox:
        if (code == BN_CLICKED) {
            c->value = SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
            Call(c->onClick);
        }
        break;
    case ControlKind::OptionButton:
        if (code == BN_CLICKED) {
            for (Control& other : w.form->controls)
                if (other.name == c->name && other.kind == ControlKind::OptionButton)
                    other.value = 0;
            c->value = 1;
            SyncControls(w);
            Call(c->onClick);
        }
        break;
    case ControlKind::ListBox:
        if (code == LBN_SELCHANGE) {
            c->value = static_cast<int>(SendMessageW(h, LB_GETCURSEL, 0, 0));
            Call(c->onClick);
        }
        break;
    default:
        break;
    }
    return 0;
}

LRESULT ScrollNotification(FormWindow& w, HWND from) {
    for (auto& [key, native] : w.natives) {
        if (native.hwnd != from)
            continue;
        Control* c = FindControl(*w.form, key);
        if (!c)
            return 0;
        const int value = static_cast<int>(
            SendMessageW(from, c->kind == ControlKind::Slider ? TBM_GETPOS : UDM_GETPOS32, 0, 0));
        if (value != c->value) {
            c->value = value;
            Call(c->onChange);
        }
        return 0;
    }
    return 0;
}

// The windowless control with a click handler at a point of the client area, topmost first.
const Control* ClickableAt(FormWindow& w, Point at) {
    const Form& form = *w.form;
    for (auto it = form.controls.rbegin(); it != form.controls.rend(); ++it) {
        if (IsNative(it->kind) || !EffectivelyVisible(form, *it) || !it->enabled || !it->onClick)
            continue;
        if (FormRect(form, *it).Contains(at))
            return &*it;
    }
    return nullptr;
}

// What a screen reader is told about the form: its own description, or for a dialog-like form
// its labels, frames and controls, found in their windows.
std::optional<AccessibleWindow> Describe(const FormWindow& w) {
    const Form& form = *w.form;
    if (form.accessible)
        return form.accessible(form);
    if (!form.style.captionBar)
        return std::nullopt;
    AccessibleWindow described = DescribeForm(form);
    for (AccessiblePart& part : described.parts) {
        if (part.nativeControl < 0)
            continue;
        const Control& c = form.controls[static_cast<std::size_t>(part.nativeControl)];
        if (auto it = w.natives.find(ControlKey{c.name, c.index}); it != w.natives.end())
            part.window = reinterpret_cast<WindowHandle>(it->second.hwnd);
    }
    return described;
}

// The same, with its rectangles in screen pixels.
std::optional<AccessibleWindow> DescribeForScreen(HWND hwnd) {
    const FormWindow* w = WindowData(hwnd);
    if (!w || !w->form)
        return std::nullopt;
    std::optional<AccessibleWindow> found = Describe(*w);
    if (!found)
        return std::nullopt;
    AccessibleWindow& described = *found;
    POINT origin{};
    ClientToScreen(hwnd, &origin);
    const Win32Platform& p = *w->platform;
    const auto toScreen = [&](Rect& r) {
        r = Rect{origin.x + p.ToScreen(r.left), origin.y + p.ToScreen(r.top), p.ToScreen(r.width),
                 p.ToScreen(r.height)};
    };
    toScreen(described.self.rect);
    for (AccessiblePart& part : described.parts)
        toScreen(part.rect);
    return found;
}

// Raises the events for what changed since screen readers were last told, while the window shows.
void TellScreenReaders(FormWindow& w) {
    if (!IsWindowVisible(w.hwnd))
        return;
    std::optional<AccessibleWindow> now = Describe(w);
    if (!now)
        return;
    // A dialog-like window is read out by the screen reader when it takes the focus; only
    // later changes of its labels are news.
    if (w.told || w.form->accessible)
        win32::RaiseAccessibleEvents(w.hwnd, AccessibleChanges(w.told ? &*w.told : nullptr, *now));
    w.told = std::move(now);
}

const Control* NativeOf(FormWindow& w, HWND hwnd) {
    for (const auto& [key, native] : w.natives)
        if (native.hwnd == hwnd)
            return FindControl(*w.form, key);
    return nullptr;
}

HWND UsableNative(FormWindow& w, ControlName name) {
    const Control* c = name.Empty() ? nullptr : w.form->Find(name);
    if (!c || !c->enabled || !EffectivelyVisible(*w.form, *c))
        return nullptr;
    auto it = w.natives.find(ControlKey{c->name, c->index});
    return it == w.natives.end() ? nullptr : it->second.hwnd;
}

void Focus(FormWindow& w, HWND control) {
    if (!control)
        return;
    SetFocus(control);
    w.lastFocus = control;
}

// The control that takes the focus when the window is activated: the one that had it last,
// else the default button, else the first in the tab order.
HWND FirstFocus(FormWindow& w) {
    if (w.lastFocus && IsChild(w.hwnd, w.lastFocus) && IsWindowVisible(w.lastFocus) &&
        IsWindowEnabled(w.lastFocus))
        return w.lastFocus;
    if (HWND button = UsableNative(w, w.form->defaultButton))
        return button;
    return GetNextDlgTabItem(w.hwnd, nullptr, FALSE);
}

// Enter and Escape as a dialog takes them. True when the key was used.
bool DialogCommandKey(FormWindow& w, WPARAM key) {
    HWND focus = GetFocus();
    if (key == VK_RETURN) {
        const Control* focused = IsChild(w.hwnd, focus) ? NativeOf(w, focus) : nullptr;
        if (focused && focused->kind == ControlKind::Button) {
            SendMessageW(focus, BM_CLICK, 0, 0);
            return true;
        }
        if (HWND button = UsableNative(w, w.form->defaultButton)) {
            SendMessageW(button, BM_CLICK, 0, 0);
            return true;
        }
        return false;
    }
    if (HWND button = UsableNative(w, w.form->cancelButton)) {
        SendMessageW(button, BM_CLICK, 0, 0);
        return true;
    }
    if (!w.form->onClose)
        return false;
    PostMessageW(w.hwnd, WM_CLOSE, 0, 0);
    return true;
}

// Alt and the access key of a label or a frame: the focus goes to the next control that takes it.
bool LabelAccessKey(FormWindow& w, wchar_t typed) {
    const auto key = std::towlower(typed);
    const auto& controls = w.form->controls;
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        if (IsNative(it->kind) || it->accessKey == 0 || !EffectivelyVisible(*w.form, *it) ||
            static_cast<wint_t>(std::tolower(static_cast<unsigned char>(it->accessKey))) != key)
            continue;
        for (auto next = it + 1; next != controls.end(); ++next)
            if (HWND h = UsableNative(w, next->name); h && IsNative(next->kind)) {
                Focus(w, h);
                return true;
            }
    }
    return false;
}

LRESULT FormMessage(FormWindow* w, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETOBJECT:
        if (w->form->accessible || w->form->style.captionBar)
            if (const LRESULT answer =
                    win32::AnswerGetObject(w->platform, hwnd, wParam, lParam, DescribeForScreen))
                return answer;
        break;
    case WM_SETTINGCHANGE:
        if (wParam != SPI_SETHIGHCONTRAST)
            break;
        [[fallthrough]];
    case WM_SYSCOLORCHANGE:
        Call(w->form->onSystemColoursChange);
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
            if (HWND first = FirstFocus(*w)) {
                Focus(*w, first);
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
        Focus(*w, next);
        return 0;
    }
    case DM_GETDEFID:
        if (const Control* button =
                w->form->defaultButton.Empty() ? nullptr : w->form->Find(w->form->defaultButton))
            for (const auto& [id, key] : w->byId)
                if (key.first == button->name)
                    return MAKELRESULT(id, DC_HASDEFID);
        return 0;
    case WM_PAINT:
        Paint(*w);
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
            const Point at{w->platform->FromScreen(cursor.x), w->platform->FromScreen(cursor.y)};
            const Control* under = ClickableAt(*w, at);
            if (under && under->kind == ControlKind::Label) {
                // A label that does something when clicked is a link.
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN: {
        const Point at{w->platform->FromScreen(static_cast<short>(LOWORD(lParam))),
                       w->platform->FromScreen(static_cast<short>(HIWORD(lParam)))};
        Form& form = *w->form;
        if (const Control* clicked = ClickableAt(*w, at)) {
            Call(clicked->onClick);
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
            return ControlCommand(*w, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam != 0)
            return ScrollNotification(*w, reinterpret_cast<HWND>(lParam));
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, w->form->backColour);
        return reinterpret_cast<LRESULT>(BackBrush(*w));
    }
    case WM_CLOSE:
        if (w->form->onClose)
            Call(w->form->onClose);
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

bool Win32Platform::HandleDialogKeys(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd)
        return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    wchar_t cls[std::size(kFormClass) + 1] = {};
    if (!root || GetClassNameW(root, cls, static_cast<int>(std::size(cls))) == 0 ||
        wcscmp(cls, kFormClass) != 0)
        return false;
    FormWindow* w = WindowData(root);
    if (!w || !w->form || !w->form->style.captionBar)
        return false;
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE))
        if (DialogCommandKey(*w, msg.wParam))
            return true;
    if (msg.message == WM_SYSCHAR && LabelAccessKey(*w, static_cast<wchar_t>(msg.wParam)))
        return true;
    // An up-down control takes the arrow keys itself, though it does not say so to the dialog keys.
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_UP || msg.wParam == VK_DOWN))
        if (const Control* focused = NativeOf(*w, msg.hwnd); focused && focused->kind == ControlKind::UpDown)
            return false;
    return IsDialogMessageW(root, &msg) != 0;
}

void Win32Platform::RegisterFormClasses() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FormWindowProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kAppIconId));
    wc.lpszClassName = kFormClass;
    RegisterClassExW(&wc);
}

HFONT Win32Platform::FontFor(const Font& font) {
    const int hundredths = static_cast<int>(std::lround(font.points * 100));
    auto key = std::make_tuple(font.face, hundredths, font.bold);
    auto it = fonts_.find(key);
    if (it != fonts_.end())
        return static_cast<HFONT>(it->second.Get());
    const int height = -MulDiv(hundredths, dpi_, 72 * 100);
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
    HWND hwnd = CreateWindowExW(exStyle, kFormClass, win32::Wide(form.caption).c_str(), style, 0, 0, 0, 0,
                                nullptr, nullptr, instance_, data);
    if (!hwnd) {
        delete data; // WM_NCCREATE never ran, so nobody else owns it
        return false;
    }
    form.handle = reinterpret_cast<WindowHandle>(hwnd);
    form.visible = false;
    PlaceWindow(*data);
    SyncControls(*data);
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
    TellScreenReaders(*data);
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
        PlaceWindow(*data);
}

void Win32Platform::UpdateForm(Form& form) {
    FormWindow* data = DataOf(form);
    if (!data)
        return;
    const Rect& r = form.rect;
    const Rect& p = data->placed;
    if (r.left != p.left || r.top != p.top || r.width != p.width || r.height != p.height)
        PlaceWindow(*data);
    if (GetWindowTextLengthW(data->hwnd) >= 0) {
        const std::wstring caption = win32::Wide(form.caption);
        wchar_t current[256] = {};
        GetWindowTextW(data->hwnd, current, static_cast<int>(std::size(current)));
        if (caption != current)
            SetWindowTextW(data->hwnd, caption.c_str());
    }
    SyncControls(*data);
    InvalidateRect(data->hwnd, nullptr, FALSE);
    if (form.visible)
        UpdateWindow(data->hwnd);
    TellScreenReaders(*data);
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

Size Win32Platform::MeasureText(const Font& font, std::string_view text) {
    win32::ScreenDc dc;
    if (!dc.Get())
        return {};
    HGDIOBJ old = SelectObject(dc.Get(), FontFor(font));
    Size out;
    if (text.empty()) {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc.Get(), &tm);
        out = Size{0, FromScreen(tm.tmHeight)};
    } else {
        const std::wstring wide = win32::Wide(text);
        SIZE size{};
        GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
        out = Size{FromScreen(size.cx), FromScreen(size.cy)};
    }
    SelectObject(dc.Get(), old);
    return out;
}

} // namespace tov

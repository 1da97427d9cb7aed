// The native controls of a form window: made when the form first names them, kept in step with
// the form's data, and their notifications turned into the form's events.
#include "platform/win32/form_window_win32.h"

#include <commctrl.h>

#include <algorithm>

namespace tov::win32 {

namespace {

constexpr int kSliderTicks = 10; // tick marks along a slider, whatever its range

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
    const RECT r = ClientPixels(w, FormRect(*w.form, c));
    SetWindowPos(n.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(n.hwnd, WM_SETFONT,
                 reinterpret_cast<WPARAM>(p.FontFor(c.font.value_or(w.form->font), w.dpi)), FALSE);
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

} // namespace

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
            CallHandler(c->onClick);
        break;
    case ControlKind::CheckBox:
        if (code == BN_CLICKED) {
            c->value = SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
            CallHandler(c->onClick);
        }
        break;
    case ControlKind::OptionButton:
        if (code == BN_CLICKED) {
            for (Control& other : w.form->controls)
                if (other.name == c->name && other.kind == ControlKind::OptionButton)
                    other.value = 0;
            c->value = 1;
            SyncControls(w);
            CallHandler(c->onClick);
        }
        break;
    case ControlKind::ListBox:
        if (code == LBN_SELCHANGE) {
            c->value = static_cast<int>(SendMessageW(h, LB_GETCURSEL, 0, 0));
            CallHandler(c->onClick);
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
            CallHandler(c->onChange);
        }
        return 0;
    }
    return 0;
}

} // namespace tov::win32

// The keyboard in a form window with a caption bar, as a dialog takes it: Tab and the arrows,
// Enter and Escape, and Alt with the access key of a control, a label or a frame.
#include "platform/win32/form_window_win32.h"

#include <cctype>
#include <cwctype>

namespace tov::win32 {

const Control* NativeOf(FormWindow& w, HWND hwnd) {
    for (const auto& [key, native] : w.natives)
        if (native.hwnd == hwnd)
            return FindControl(*w.form, key);
    return nullptr;
}

namespace {

HWND UsableNative(FormWindow& w, ControlName name) {
    const Control* c = name.Empty() ? nullptr : w.form->Find(name);
    if (!c || !c->enabled || !EffectivelyVisible(*w.form, *c))
        return nullptr;
    auto it = w.natives.find(ControlKey{c->name, c->index});
    return it == w.natives.end() ? nullptr : it->second.hwnd;
}

} // namespace

void Focus(FormWindow& w, HWND control) {
    if (!control)
        return;
    SetFocus(control);
    w.lastFocus = control;
}

HWND FirstFocus(FormWindow& w) {
    if (w.lastFocus && IsChild(w.hwnd, w.lastFocus) && IsWindowVisible(w.lastFocus) &&
        IsWindowEnabled(w.lastFocus))
        return w.lastFocus;
    if (HWND button = UsableNative(w, w.form->defaultButton))
        return button;
    return GetNextDlgTabItem(w.hwnd, nullptr, FALSE);
}

namespace {

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

} // namespace

} // namespace tov::win32

namespace tov {

using win32::FormWindow;

bool Win32Platform::HandleDialogKeys(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd)
        return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    wchar_t cls[std::size(win32::kFormClass) + 1] = {};
    if (!root || GetClassNameW(root, cls, static_cast<int>(std::size(cls))) == 0 ||
        wcscmp(cls, win32::kFormClass) != 0)
        return false;
    FormWindow* w = win32::WindowData(root);
    if (!w || !w->form || !w->form->style.captionBar)
        return false;
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE))
        if (win32::DialogCommandKey(*w, msg.wParam))
            return true;
    if (msg.message == WM_SYSCHAR && win32::LabelAccessKey(*w, static_cast<wchar_t>(msg.wParam)))
        return true;
    // An up-down control takes the arrow keys itself, though it does not say so to the dialog keys.
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_UP || msg.wParam == VK_DOWN))
        if (const Control* focused = win32::NativeOf(*w, msg.hwnd);
            focused && focused->kind == ControlKind::UpDown)
            return false;
    return IsDialogMessageW(root, &msg) != 0;
}

} // namespace tov

#include "platform/win32/form_window_win32.h"

namespace tov::win32 {

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

FormWindow* WindowData(HWND hwnd) {
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

Control* FindControl(Form& form, const ControlKey& key) {
    return form.Find(key.first, key.second);
}

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

RECT ClientPixels(const FormWindow& w, const Rect& r) {
    return RECT{ScaleToDpi(r.left, w.dpi), ScaleToDpi(r.top, w.dpi), ScaleToDpi(r.left + r.width, w.dpi),
                ScaleToDpi(r.top + r.height, w.dpi)};
}

Point FormPoint(const FormWindow& w, POINT client) {
    return Point{ScaleFromDpi(client.x, w.dpi), ScaleFromDpi(client.y, w.dpi)};
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

void CallHandler(const std::function<void()>& handler) {
    if (handler) {
        const auto copy = handler;
        copy();
    }
}

} // namespace tov::win32

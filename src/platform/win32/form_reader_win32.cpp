// What screen readers are told of a form window: the form's own description, or for a
// dialog-like form its labels, frames and controls; and, while it shows, what changed.
#include "platform/win32/accessible_win32.h"
#include "platform/win32/form_window_win32.h"

namespace tov::win32 {

namespace {

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

} // namespace

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
    const auto toScreen = [&](Rect& r) {
        r = Rect{origin.x + ScaleToDpi(r.left, w->dpi), origin.y + ScaleToDpi(r.top, w->dpi),
                 ScaleToDpi(r.width, w->dpi), ScaleToDpi(r.height, w->dpi)};
    };
    toScreen(described.self.rect);
    for (AccessiblePart& part : described.parts)
        toScreen(part.rect);
    return found;
}

void TellScreenReaders(FormWindow& w) {
    if (!IsWindowVisible(w.hwnd))
        return;
    std::optional<AccessibleWindow> now = Describe(w);
    if (!now)
        return;
    // A dialog-like window is read out by the screen reader when it takes the focus; only
    // later changes of its labels are news.
    if (w.told || w.form->accessible)
        RaiseAccessibleEvents(w.hwnd, AccessibleChanges(w.told ? &*w.told : nullptr, *now));
    w.told = std::move(now);
}

} // namespace tov::win32

// The fake's monitors: which one shows a window, and a window of the program's own laid out
// for the scale of the monitor it stands on, as the system lays out a window of a program that
// scales per monitor.
#include "platform/fake/fake_platform.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace tov {

namespace {

long long Overlap(const Rect& a, const Rect& b) {
    const long long width = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    const long long height = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

long long Distance(const Rect& a, const Rect& b) {
    const auto gap = [](int low, int high) { return std::max(0, high - low); };
    const long long dx = std::max(gap(a.left + a.width, b.left), gap(b.left + b.width, a.left));
    const long long dy = std::max(gap(a.top + a.height, b.top), gap(b.top + b.height, a.top));
    return dx * dx + dy * dy;
}

} // namespace

const Monitor& FakePlatform::MonitorOfRect(const Rect& rect) const {
    const Monitor* best = &monitors.front();
    long long bestOverlap = 0;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const Monitor& m : monitors) {
        const long long overlap = Overlap(rect, m.bounds);
        const long long distance = Distance(rect, m.bounds);
        if (overlap > bestOverlap || (bestOverlap == 0 && overlap == 0 && distance < bestDistance)) {
            best = &m;
            bestOverlap = overlap;
            bestDistance = distance;
        }
    }
    return *best;
}

void FakePlatform::FitToMonitor(Form& form) const {
    form.dpi = MonitorOfRect(Rect{form.origin.x, form.origin.y, 1, 1}).dpi;
}

std::optional<Monitor> FakePlatform::MonitorOfWindow(WindowHandle window) {
    for (const Form* form : liveForms)
        if (form->handle == window)
            return MonitorOfRect(ScreenRect(*form));
    const auto it = windows.find(window);
    if (window == 0 || it == windows.end() || it->second.closed || it->second.desktop)
        return std::nullopt;
    return MonitorOfRect(it->second.rect);
}

Monitor FakePlatform::MonitorOfCursor() {
    return MonitorOfRect(Rect{cursor.x, cursor.y, 1, 1});
}

Monitor FakePlatform::PrimaryMonitor() {
    const auto primary =
        std::find_if(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.primary; });
    return primary != monitors.end() ? *primary : monitors.front();
}

ScaleAwareness FakePlatform::ScaleAwarenessOfProcess() {
    return ScaleAwareness::PerMonitorV2;
}

bool FakePlatform::RunsElevatedAboveUs(WindowHandle window) {
    const std::lock_guard hold(lock_);
    const auto it = windows.find(window);
    return it != windows.end() && !it->second.closed && it->second.elevated;
}

void FakePlatform::ChangeMonitor(std::size_t index, const Monitor& changed) {
    const Monitor before = monitors.at(index);
    monitors[index] = changed;
    std::vector<Form*> moved;
    for (Form* form : liveForms)
        if (before.bounds.Contains(form->origin) && form->dpi != changed.dpi)
            moved.push_back(form);
    for (Form* form : moved) {
        if (!liveForms.count(form))
            continue; // an earlier window's handler unloaded it
        {
            // The system keeps the window's top-left corner where it is and hands it the new scale.
            const std::lock_guard hold(lock_);
            const Rect at = ScreenRect(*form);
            form->dpi = changed.dpi;
            form->origin = Point{at.left - ScaleToDpi(form->rect.left, form->dpi),
                                 at.top - ScaleToDpi(form->rect.top, form->dpi)};
            if (form->visible)
                shownForms_[form->handle] = ScreenRect(*form);
        }
        if (form->onScaleChange) {
            const auto handler = form->onScaleChange; // the handler may unload the form
            handler();
        }
    }
}

} // namespace tov

#pragma once
// What the form windows' parts share: the window's own record of its form and native controls,
// and the routines by which the window procedure, the painting, the controls, the dialog keys
// and the screen readers reach one another.
#include "platform/win32/win32_platform.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tov::win32 {

inline constexpr wchar_t kFormClass[] = L"TovlenForm";
inline constexpr int kFirstControlId = 1000;

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
    // The scale the window is laid out at, and where it was placed (none yet: -1).
    int dpi = kBaseDpi;
    Rect placed{-1, -1, -1, -1};
    Point placedOrigin{-1, -1};
    bool placing = false; // inside the window's own move, whose scale the window has already taken
    // The caption bar's and the taskbar's icons, drawn from the artwork at the window's scale
    // (the class's icon is the system's scale) and freed only after the window lets them go.
    win32::UniqueIcon smallIcon;
    win32::UniqueIcon bigIcon;
    int iconDpi = 0;
    HWND lastFocus = nullptr; // the control to give the focus back to when the window is activated again
    std::optional<AccessibleWindow> told; // what screen readers were last told, while shown
};

// The record of a form window, kept in its user data; null for no form window.
FormWindow* WindowData(HWND hwnd);
Control* FindControl(Form& form, const ControlKey& key);
// Controls inside a frame are placed relative to the frame, and hidden with it.
Rect FormRect(const Form& form, const Control& c);
bool EffectivelyVisible(const Form& form, const Control& c);
// A rectangle of the form's layout in the window's pixels, and a point of the client area back.
RECT ClientPixels(const FormWindow& w, const Rect& r);
Point FormPoint(const FormWindow& w, POINT client);
// The control's text with its access key marked as the system draws it.
std::wstring MarkedText(const Control& c);
HBRUSH BackBrush(FormWindow& w);
// Controls with a window of their own, which the user operates; the rest the form paints.
bool IsNative(ControlKind kind);
// Event handlers may unload their own form, which destroys this window: the handler is copied,
// called, and nothing of the window is touched afterwards.
void CallHandler(const std::function<void()>& handler);

// Places the window as its form says, laid out for the monitor it goes to (forms_win32.cpp).
void PlaceWindow(FormWindow& w);

// The native controls (form_controls_win32.cpp): made, kept in step with the form, and heard.
void SyncControls(FormWindow& w);
LRESULT ControlCommand(FormWindow& w, int id, int code);
LRESULT ScrollNotification(FormWindow& w, HWND from);

// The windowless controls, painted by the form (form_paint_win32.cpp).
void Paint(FormWindow& w);

// The keyboard as a dialog takes it (form_keys_win32.cpp).
const Control* NativeOf(FormWindow& w, HWND hwnd);
void Focus(FormWindow& w, HWND control);
// The control that takes the focus when the window is activated: the one that had it last,
// else the default button, else the first in the tab order.
HWND FirstFocus(FormWindow& w);

// What screen readers are told (form_reader_win32.cpp): the form's description with its
// rectangles in screen pixels, and the events for what changed since they were last told.
std::optional<AccessibleWindow> DescribeForScreen(HWND hwnd);
void TellScreenReaders(FormWindow& w);

} // namespace tov::win32

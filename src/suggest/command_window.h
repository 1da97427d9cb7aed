#pragma once
// The command window frmMain: icon of the best match, the typed text laid over the best
// match, and a one-line description.
#include "platform/forms.h"

#include "suggest/window_looks.h"

#include <string>

namespace tov {

namespace frmMain {
inline constexpr const char* kFormName = "frmMain";
inline constexpr ControlName picIcon{"picIcon"};
inline constexpr ControlName lblCommandBack{"lblCommandBack"};
inline constexpr ControlName lblCommand{"lblCommand"};
inline constexpr ControlName lblDescription{"lblDescription"};
} // namespace frmMain

Form MakeCommandWindow(Platform& platform);

// Destroys any previous command window and shows a fresh one, topmost, without taking the
// focus, at the top-left corner of the monitor's work area.
void OpenCommandWindow(Platform& platform, Forms& forms, int transparency, const Monitor& monitor);
// Lays the command window and the suggestion window under it out for the monitor, in the
// corner of its work area.
void PlaceCommandWindows(Platform& platform, Forms& forms, const Monitor& monitor);
// Destroys the command window and hides the suggestions.
void CloseCommandWindow(Platform& platform, Forms& forms);
void HideCommandWindow(Platform& platform, Forms& forms);
// The description line's text for a command line; `caption` is the previous window's.
std::string DescribeCommandLine(const std::string& commandText, const std::string& caption);
// Shows the command window again with a message in its description line, opening it on the
// monitor when it is gone. False when there is no window to show it in.
bool ShowCommandWindowMessage(Platform& platform, Forms& forms, int transparency, const Monitor& monitor,
                              const std::string& message);
// Whether the description line holds such a message rather than a description of the typed line.
bool IsCommandWindowMessage(const Control& lblDescription);
// Colours the window as the system's theme asks (the artwork, or a high-contrast theme's colours).
void ApplyCommandWindowLooks(Platform& platform, Form& frmMain);

} // namespace tov

#pragma once
// frmWelcome: the short introduction shown after the splash until the user turns it off.
#include "platform/forms.h"

namespace tov {

namespace frmWelcome {
inline constexpr const char* kFormName = "frmWelcome";
inline constexpr ControlName lblWelcome{"lblWelcome"};
inline constexpr ControlName lblIntroduction{"lblIntroduction"};
inline constexpr ControlName linBelowIntroduction{"linBelowIntroduction"};
inline constexpr ControlName lblHowToOpen{"lblHowToOpen"};
inline constexpr ControlName lblTryIt{"lblTryIt"};
inline constexpr ControlName linAboveExamples{"linAboveExamples"};
inline constexpr ControlName lblExample{"lblExample"}; // a control array, one per example command
inline constexpr ControlName chkShowWindow{"chkShowWindow"};
inline constexpr ControlName cmdOk{"cmdOk"};
} // namespace frmWelcome

constexpr int kWelcomeClientWidth = 480;

// The window with its controls laid out for the platform's fonts at the monitor's scale,
// centred in its work area.
Form MakeWelcome(Platform& platform, Forms& forms, const Monitor& monitor);

// Opens the welcome window, modeless, creating it on the monitor when needed.
void ShowWelcome(Platform& platform, Forms& forms, const Monitor& monitor);

// "Okay": remembers whether to show the window next time, then unloads it.
void cmdOk_Click(Platform& platform, Forms& forms);

} // namespace tov

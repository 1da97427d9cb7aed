#pragma once
// frmWelcome: the short introduction shown after the splash until the user turns it off.
#include "platform/form.h"

namespace tov {

struct App;

constexpr int kWelcomeClientWidth = 480;

// The window with its controls laid out for the platform's fonts.
Form MakeWelcome(App& app);

// Opens the welcome window, modeless, creating it when needed.
void ShowWelcome(App& app);

// "Okay": remembers whether to show the window next time, then unloads it.
void cmdOk_Click(App& app);

} // namespace tov

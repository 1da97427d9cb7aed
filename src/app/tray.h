#pragma once
// The notification-area icon and its menu, owned by the hidden form frmSystray.
#include "platform/form.h"
#include "platform/settings_store.h"

namespace tov {

struct App;

constexpr const char* kTrayTip = kAppName;
constexpr const char* kDisableCaption = "Disable";
constexpr const char* kEnableCaption = "Enable";

Form MakeSystrayForm(App& app);

// Start-up's tray step: makes frmSystray and puts the icon up; shutdown takes it down.
void AddProgramTrayIcon(App& app);
void RemoveProgramTrayIcon(App& app);

// The icon's mouse events: the right button's release opens the menu.
void frmSystray_MouseMove(App& app, MouseMessage message);
void mnu_systray_preferences_Click(App& app);
void mnu_systray_able_Click(App& app);
void mnu_sysmenu_exit_Click(App& app);

} // namespace tov

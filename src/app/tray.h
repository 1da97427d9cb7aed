#pragma once
// The notification-area icon and its menu, owned by the hidden form frmSystray.
#include "platform/settings_store.h"
#include "ui/form.h"

namespace tov {

namespace frmSystray {
inline constexpr const char* kFormName = "frmSystray";
inline constexpr ControlName mnu_systray_preferences{"mnu_systray_preferences"};
inline constexpr ControlName mnu_systray_able{"mnu_systray_able"};
inline constexpr ControlName mnu_sysmenu_exit{"mnu_sysmenu_exit"};
} // namespace frmSystray

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

#include "app/tray.h"

#include "app/app.h"
#include "app/contexts.h"
#include "input/hooks.h"

namespace tov {

Form MakeSystrayForm(App& app) {
    Form f;
    f.name = frmSystray::kFormName;
    f.caption = kTrayTip;
    f.popupMenu = {
        {frmSystray::mnu_systray_preferences, "Preferences", [&app] { mnu_systray_preferences_Click(app); }},
        {frmSystray::mnu_systray_able, kDisableCaption, [&app] { mnu_systray_able_Click(app); }},
        {frmSystray::mnu_sysmenu_exit, "Exit Tovlen", [&app] { mnu_sysmenu_exit_Click(app); }},
    };
    return f;
}

void AddProgramTrayIcon(App& app) {
    auto& tray = app.forms.frmSystray;
    tray = std::make_unique<Form>(MakeSystrayForm(app));
    if (!app.platform.CreateFormWindow(*tray))
        return;
    app.platform.AddTrayIcon(*tray, kTrayTip, [&app](MouseMessage m) { frmSystray_MouseMove(app, m); });
}

void RemoveProgramTrayIcon(App& app) {
    app.platform.RemoveTrayIcon();
}

void frmSystray_MouseMove(App& app, MouseMessage message) {
    if (message != MouseMessage::RightUp || !app.forms.frmSystray)
        return;
    Form& tray = *app.forms.frmSystray;
    const auto chosen = app.platform.ShowPopupMenu(tray);
    if (!chosen || !app.forms.frmSystray || *chosen >= tray.popupMenu.size())
        return;
    if (const auto handler = tray.popupMenu[*chosen].onClick)
        handler();
}

void mnu_systray_preferences_Click(App& app) {
    ShowPreferences(app);
}

// The caption is the only record on this thread of whether the hooks act; the input thread keeps
// its hooks in place and lets every event pass while disabled.
void mnu_systray_able_Click(App& app) {
    MenuItem* able =
        app.forms.frmSystray ? app.forms.frmSystray->FindMenuItem(frmSystray::mnu_systray_able) : nullptr;
    if (!able)
        return;
    if (able->caption == kDisableCaption) {
        TellEnabled(app.platform, app.state, false);
        able->caption = kEnableCaption;
    } else {
        TellEnabled(app.platform, app.state, true);
        able->caption = kDisableCaption;
    }
}

void mnu_sysmenu_exit_Click(App& app) {
    app.state.Running = false;
    // The loop looks at Running only after it has retrieved a message; give it one.
    app.platform.RequestWake();
}

} // namespace tov

#include "app/splash.h"

#include "app/app.h"
#include "platform/settings_store.h"
#include "platform/window_utilities.h"
#include "prefs/welcome.h"
#include "suggest/working_monitor.h"

namespace tov {

namespace {

constexpr int kTenths = 10;
constexpr Colour kSplashBack = Rgb(255, 255, 255);
constexpr Colour kSplashBorder = Rgb(0, 96, 0);
constexpr Colour kTitleColour = Rgb(0, 128, 0);
constexpr Colour kShadowColour = Rgb(0, 0, 0);
const Font kTitleFont{"Verdana", 48, true};

// Start-up's windows stand where the user works when the program starts.
Monitor WorkingMonitorNow(App& app) {
    return MonitorForWindows(app.platform, app.state.WorkingMonitor != 0, app.platform.ForegroundWindow());
}

} // namespace

int FadeStepCount(int opacity) {
    return opacity < 0 ? 0 : opacity * kTenths + 1;
}

int FadeLevel(int opacity, int step) {
    return (opacity * kTenths - step) / kTenths;
}

Form MakeSplash(App& app) {
    Form f;
    f.name = frmLoad::kFormName;
    f.caption = kAppName;
    f.rect = kSplashClient;
    f.backColour = kSplashBack;
    const int w = kSplashClient.width;
    const int h = kSplashClient.height;
    int side = 0;
    for (const Rect edge : {Rect{0, 0, w, 1}, Rect{0, h - 1, w, 1}, Rect{0, 0, 1, h}, Rect{w - 1, 0, 1, h}})
        f.Add({.name = frmLoad::picBorder,
               .index = side++,
               .kind = ControlKind::PictureBox,
               .rect = edge,
               .backColour = kSplashBorder});
    f.Add({.name = frmLoad::imgLogo,
           .kind = ControlKind::Image,
           .rect = {8, 12, 106, 129},
           .picture = app.platform.LoadResourcePicture("splashlogo")});
    // The shadow is the same text 4 pixels to the right and below, painted first.
    f.Add({.name = frmLoad::lblTitleShadow,
           .kind = ControlKind::Label,
           .rect = {92, 36, 309, 77},
           .text = kAppName,
           .font = kTitleFont,
           .textColour = kShadowColour});
    f.Add({.name = frmLoad::lblTitle,
           .kind = ControlKind::Label,
           .rect = {88, 32, 309, 77},
           .text = kAppName,
           .font = kTitleFont,
           .textColour = kTitleColour});
    return f;
}

void ShowSplash(App& app) {
    auto& splash = app.forms.frmLoad;
    splash = std::make_unique<Form>(MakeSplash(app));
    app.splashLoaded = app.platform.MonotonicNow();
    Form& f = *splash;
    const Monitor monitor = WorkingMonitorNow(app);
    AnchorToWorkArea(f, monitor);
    f.rect.left = WorkAreaSize(monitor).width / 2 - f.rect.width / 2;
    f.rect.top = kSplashTop;
    if (!app.platform.CreateFormWindow(f)) {
        UnloadForm(app.platform, app.forms, splash);
        return;
    }
    SetTransparency(app.platform, f.handle, app.state.Transparency);
    app.platform.ShowForm(f);
}

void FadeAwaySplash(App& app) {
    if (app.forms.frmLoad)
        app.platform.PumpMessagesUntil(app.splashLoaded + kSplashStandTime);
    if (auto& splash = app.forms.frmLoad; splash && splash->handle) {
        const int opacity = app.state.Transparency;
        const int steps = FadeStepCount(opacity);
        for (int step = 0; step < steps; ++step)
            SetTransparency(app.platform, splash->handle, FadeLevel(opacity, step));
    }
    if (SettingToBool(GetSetting(app.platform, "showwelcome", 1)))
        ShowWelcome(app.platform, app.forms, WorkingMonitorNow(app));
    UnloadForm(app.platform, app.forms, app.forms.frmLoad);
}

} // namespace tov

#include "prefs/key_mapping.h"

#include "app/app.h"
#include "app/settings.h"
#include "app/window_utilities.h"
#include "prefs/preferences_window.h"

#include <algorithm>
#include <cstdint>

namespace tov {

namespace {

constexpr Size kRemapSize{249, 66};
constexpr int kRemapPadding = 4;
constexpr const char* kRemapPrompt = "Press the key you want to use to show Tovlen.";

void ShowKeyName(App& app) {
    if (Form* f = PreferencesWindow(app)) {
        const auto key = static_cast<std::uint16_t>(app.state.ActivationKey);
        f->At("lblKeyMap").text = app.platform.KeyName(key);
        UpdatePreferencesWindow(app);
    }
}

} // namespace

Form MakeRemapForm(Platform& platform) {
    Form f;
    f.name = "frmRemap";
    f.backColour = kRemapBackColour;
    f.font = Font{"Verdana", 14.25};
    f.style = FormStyle{.captionBar = false, .topmost = true, .toolWindow = true, .activateOnShow = false};
    const int textWidth = kRemapSize.width - 2 * kRemapPadding;
    const int textHeight = platform.MeasureWrappedText(f.font, kRemapPrompt, textWidth).height;
    // The prompt keeps its size unless the font breaks the text into more lines than it holds.
    const int height = std::max(kRemapSize.height, textHeight + 2 * kRemapPadding);
    const Size screen = platform.ScreenSize();
    f.rect = {(screen.width - kRemapSize.width) / 2, (screen.height - height) / 2, kRemapSize.width, height};
    f.Add({.name = "lblRemap",
           .kind = ControlKind::Label,
           .rect = {kRemapPadding, (height - textHeight) / 2, textWidth, textHeight},
           .text = kRemapPrompt,
           .centred = true,
           .wrap = true});
    return f;
}

void cmdRemap_Click(App& app) {
    State& s = app.state;
    if (s.CapturingKey)
        return; // already waiting, further down this thread's stack
    UnloadForm(app, app.forms.frmRemap);
    app.forms.frmRemap = std::make_unique<Form>(MakeRemapForm(app.platform));
    Form& remap = *app.forms.frmRemap;
    if (app.platform.CreateFormWindow(remap)) {
        SetTransparency(app, remap.handle, s.Transparency);
        app.platform.ShowForm(remap);
        app.platform.MakeTopmost(remap);
    }
    s.CapturingKey = true;
    // The low-level hook runs only while this thread retrieves messages, so the wait keeps
    // them moving; it sleeps in the retrieval rather than spinning.
    while (s.CapturingKey && s.Running) {
        if (!app.platform.RunOneMessage()) {
            s.Running = false;
            break;
        }
    }
    if (s.CapturingKey) {
        // The program is ending: no key came.
        s.CapturingKey = false;
        UnloadForm(app, app.forms.frmRemap);
        return;
    }
    ShowKeyName(app);
}

void cmdKeyMapReset_Click(App& app) {
    SaveSetting(app.platform, "mappedkey", std::to_string(kDefaultActivationKey));
    app.state.ActivationKey = kDefaultActivationKey;
    ShowKeyName(app);
}

} // namespace tov

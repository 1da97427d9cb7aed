#include "prefs/key_mapping.h"

#include "input/hooks.h"
#include "platform/settings_store.h"
#include "platform/window_utilities.h"
#include "prefs/preferences_form.h"
#include "prefs/preferences_window.h"
#include "suggest/working_monitor.h"

#include <algorithm>
#include <cstdint>

namespace tov {

namespace {

constexpr Size kRemapSize{249, 66};
constexpr int kRemapPadding = 4;
constexpr const char* kRemapPrompt = "Press the key you want to use to show Tovlen.";

void ShowKeyName(Platform& platform, const State& state, Forms& forms) {
    if (Form* f = PreferencesWindow(forms)) {
        const auto key = static_cast<std::uint16_t>(state.ActivationKey);
        f->At(frmPrefs::lblKeyMap).text = platform.KeyName(key);
        UpdatePreferencesWindow(platform, forms);
    }
}

} // namespace

Form MakeRemapForm(Platform& platform, const Monitor& monitor) {
    Form f;
    AnchorToWorkArea(f, monitor);
    f.name = frmRemap::kFormName;
    f.backColour = kRemapBackColour;
    f.font = Font{"Verdana", 14.25};
    f.style = FormStyle{.captionBar = false, .topmost = true, .toolWindow = true, .activateOnShow = false};
    const int textWidth = kRemapSize.width - 2 * kRemapPadding;
    const int textHeight = platform.MeasureWrappedText(f.font, kRemapPrompt, textWidth, f.dpi).height;
    // The prompt keeps its size unless the font breaks the text into more lines than it holds.
    const int height = std::max(kRemapSize.height, textHeight + 2 * kRemapPadding);
    f.rect.width = kRemapSize.width;
    f.rect.height = height;
    CentreInWorkArea(f, monitor);
    f.Add({.name = frmRemap::lblRemap,
           .kind = ControlKind::Label,
           .rect = {kRemapPadding, (height - textHeight) / 2, textWidth, textHeight},
           .text = kRemapPrompt,
           .centred = true,
           .wrap = true});
    return f;
}

void cmdRemap_Click(Platform& platform, State& s, Forms& forms) {
    if (s.CapturingKey)
        return; // already waiting, further down this thread's stack
    UnloadForm(platform, forms, forms.frmRemap);
    // The prompt answers the preferences window's button, so it shows on that window's monitor.
    forms.frmRemap = std::make_unique<Form>(
        MakeRemapForm(platform, MonitorForWindows(platform, true, PreferencesOwner(forms))));
    Form& remap = *forms.frmRemap;
    if (platform.CreateFormWindow(remap)) {
        SetTransparency(platform, remap.handle, s.Transparency);
        platform.ShowForm(remap);
        platform.MakeTopmost(remap);
    }
    s.CapturingKey = true;
    TellCapture(platform, s);
    // The input thread's news of the key comes through this thread's messages, so the wait
    // keeps them moving; it sleeps in the retrieval rather than spinning.
    while (s.CapturingKey && s.Running) {
        if (!platform.RunOneMessage()) {
            s.Running = false;
            break;
        }
    }
    if (s.CapturingKey) {
        // The program is ending: no key came.
        s.CapturingKey = false;
        TellCapture(platform, s);
        UnloadForm(platform, forms, forms.frmRemap);
        return;
    }
    ShowKeyName(platform, s, forms);
}

void cmdKeyMapReset_Click(Platform& platform, State& s, Forms& forms) {
    SaveSetting(platform, "mappedkey", std::to_string(kDefaultActivationKey));
    s.ActivationKey = kDefaultActivationKey;
    TellActivationKey(platform, s);
    ShowKeyName(platform, s, forms);
}

} // namespace tov

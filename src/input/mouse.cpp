#include "input/mouse.h"

#include "app/app.h"
#include "input/keyboard.h"

namespace tov {

HookDecision MouseProc(App& app, const MouseEvent& event) {
    if (event.message != MouseMessage::LeftDown && event.message != MouseMessage::RightDown)
        return HookDecision::Pass;
    const Form* suggestions = app.forms.frmCommandSuggestion.get();
    const WindowHandle under = app.platform.TopLevelWindowAt(event.pt);
    if (suggestions && suggestions->handle != 0 && under == suggestions->handle)
        return HookDecision::Pass;
    if (app.state.WindowOpen || !app.state.CommandText.empty()) {
        app.state.WindowOpen = false;
        app.state.CommandText.clear();
        app.state.DisplayDirty = true;
        RecordHookChange(app.state);
        app.platform.RequestWake();
    }
    return HookDecision::Pass;
}

} // namespace tov

#include "input/mouse.h"

#include "input/keyboard.h"

namespace tov {

HookDecision MouseProc(Platform& platform, State& state, const Forms& forms, const MouseEvent& event) {
    if (event.message != MouseMessage::LeftDown && event.message != MouseMessage::RightDown)
        return HookDecision::Pass;
    const Form* suggestions = forms.frmCommandSuggestion.get();
    const WindowHandle under = platform.TopLevelWindowAt(event.pt);
    if (suggestions && suggestions->handle != 0 && under == suggestions->handle)
        return HookDecision::Pass;
    if (state.WindowOpen || !state.CommandText.empty()) {
        state.WindowOpen = false;
        state.CommandText.clear();
        state.DisplayDirty = true;
        RecordHookChange(state);
        platform.RequestWake();
    }
    return HookDecision::Pass;
}

} // namespace tov

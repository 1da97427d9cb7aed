#include "input/mouse.h"

namespace tov {

HookDecision MouseProc(Platform& platform, Typing& t, const MouseEvent& event, const NewsSink& tell) {
    const bool press = event.message == MouseMessage::LeftDown || event.message == MouseMessage::RightDown;
    if (!press || !MouseHookWanted(t))
        return HookDecision::Pass;
    if (t.suggestionWindow != 0 && platform.TopLevelWindowAt(event.pt) == t.suggestionWindow)
        return HookDecision::Pass;
    t.windowOpen = false;
    ClearCommandText(t);
    tell(NewsOf(t));
    return HookDecision::Pass;
}

bool MouseHookWanted(const Typing& t) {
    return t.enabled && (t.windowOpen || !t.commandText.empty());
}

} // namespace tov

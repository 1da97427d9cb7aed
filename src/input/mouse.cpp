#include "input/mouse.h"

namespace tov {

HookDecision MouseProc(Platform& platform, Typing& t, const MouseEvent& event, const NewsSink& tell) {
    if (!t.enabled || (event.message != MouseMessage::LeftDown && event.message != MouseMessage::RightDown))
        return HookDecision::Pass;
    if (t.suggestionWindow != 0 && platform.TopLevelWindowAt(event.pt) == t.suggestionWindow)
        return HookDecision::Pass;
    if (t.windowOpen || !t.commandText.empty()) {
        t.windowOpen = false;
        t.commandText.clear();
        tell(NewsOf(t));
    }
    return HookDecision::Pass;
}

} // namespace tov

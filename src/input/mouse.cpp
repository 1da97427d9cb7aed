#include "input/mouse.h"

namespace tov {

HookDecision MouseProc(Platform& platform, Typing& t, const MouseEvent& event, const NewsSink& tell) {
    if (!t.enabled || (event.message != MouseMessage::LeftDown && event.message != MouseMessage::RightDown))
        return HookDecision::Pass;
    // A click while nothing is open asks nothing of the system: this runs for every click of
    // the desktop.
    if (!t.windowOpen && t.commandText.empty())
        return HookDecision::Pass;
    if (t.suggestionWindow != 0 && platform.TopLevelWindowAt(event.pt) == t.suggestionWindow)
        return HookDecision::Pass;
    t.windowOpen = false;
    ClearCommandText(t);
    tell(NewsOf(t));
    return HookDecision::Pass;
}

} // namespace tov

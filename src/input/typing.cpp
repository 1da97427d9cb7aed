#include "input/typing.h"

namespace tov {

void ClearCommandText(Typing& typing) {
    typing.commandText.clear();
    typing.commandKeys.clear();
}

TypingNews NewsOf(Typing& typing, std::chrono::steady_clock::time_point keyAt) {
    ++typing.changes;
    TypingNews news;
    news.change = typing.changes;
    news.windowOpen = typing.windowOpen;
    news.commandText = typing.commandText;
    news.commandKeys = typing.commandKeys;
    news.selectedIndex = typing.selectedIndex;
    news.opening = typing.openings;
    news.previousWindow = typing.previousWindow;
    news.keyAt = keyAt;
    return news;
}

} // namespace tov

#include "input/typing.h"

#include <utility>

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
    if (keyAt != std::chrono::steady_clock::time_point{})
        news.keysAt.push_back(keyAt);
    return news;
}

bool NewsMailbox::Put(TypingNews news) {
    const std::lock_guard hold(lock_);
    if (!waiting_.empty() && !waiting_.back().frozen && !waiting_.back().capturedKey) {
        // The newer news tells the whole line as it stands now; only the keys measured stay.
        std::vector<std::chrono::steady_clock::time_point>& keysAt = waiting_.back().keysAt;
        if (keysAt.size() + news.keysAt.size() <= kMaxHookTimes)
            keysAt.insert(keysAt.end(), news.keysAt.begin(), news.keysAt.end());
        news.keysAt = std::move(keysAt);
        waiting_.back() = std::move(news);
    } else {
        waiting_.push_back(std::move(news));
    }
    return !std::exchange(told_, true);
}

std::vector<TypingNews> NewsMailbox::Take() {
    const std::lock_guard hold(lock_);
    told_ = false;
    return std::exchange(waiting_, {});
}

} // namespace tov

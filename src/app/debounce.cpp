#include "app/debounce.h"

#include <algorithm>

namespace tov {

void NoteChange(Debounce& debounce, MonotonicTime now) {
    if (!debounce.firstChange)
        debounce.firstChange = now;
    debounce.lastChange = now;
}

std::optional<MonotonicTime> SettlesAt(const Debounce& debounce) {
    if (!debounce.firstChange || !debounce.lastChange)
        return std::nullopt;
    return std::min(*debounce.lastChange + debounce.quiet, *debounce.firstChange + debounce.longestWait);
}

bool TakeSettled(Debounce& debounce, MonotonicTime now) {
    const auto settles = SettlesAt(debounce);
    if (!settles || now < *settles)
        return false;
    debounce.firstChange.reset();
    debounce.lastChange.reset();
    return true;
}

} // namespace tov

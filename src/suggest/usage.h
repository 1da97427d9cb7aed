#pragma once
// Usage memory: the influence list ("influence.lst", read only) and the tack list
// ("commandtack.lst", rewritten on every change).
#include <cstdint>
#include <string>
#include <vector>

namespace tov {

struct InfluenceEntry {
    std::string phrase;
    std::int16_t count = 0;
};

struct TackEntry {
    std::string command;
    std::string typed;
};

struct UsageMemory {
    std::vector<InfluenceEntry> influence;
    std::vector<TackEntry> tacks;
};

} // namespace tov

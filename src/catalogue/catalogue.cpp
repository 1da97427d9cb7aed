#include "catalogue/catalogue.h"

#include "base/text.h"
#include "catalogue/built_in_commands.h"

#include <algorithm>
#include <numeric>

namespace tov {

std::string RunPhrase(std::string_view name) {
    return BuiltInCommandLine(BuiltInAction::Run, LowerCase(name));
}

void AddCommandEntry(Catalogue& catalogue, CommandEntry entry) {
    catalogue.table.push_back(std::move(entry));
    catalogue.phrases.push_back(RunPhrase(catalogue.table.back().Name));
}

void IndexCommandTable(Catalogue& catalogue) {
    std::vector<std::string> lowered;
    lowered.reserve(catalogue.table.size());
    for (const CommandEntry& entry : catalogue.table)
        lowered.push_back(LowerCase(entry.Name));
    std::vector<std::uint32_t>& order = catalogue.byLowerName;
    order.resize(lowered.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&lowered](std::uint32_t a, std::uint32_t b) { return lowered[a] < lowered[b]; });
}

const CommandEntry* FindCommandEntry(const Catalogue& catalogue, std::string_view lowered) {
    const std::vector<CommandEntry>& table = catalogue.table;
    const std::vector<std::uint32_t>& order = catalogue.byLowerName;
    // An index longer than the table was made for another table; it is not trusted.
    const std::size_t indexed = order.size() <= table.size() ? order.size() : 0;
    if (indexed > 0) {
        const auto at = std::partition_point(
            order.begin(), order.end(), [&](std::uint32_t i) { return LowerCase(table[i].Name) < lowered; });
        if (at != order.end() && LowerCase(table[*at].Name) == lowered)
            return &table[*at];
    }
    for (std::size_t i = indexed; i < table.size(); ++i)
        if (LowerCase(table[i].Name) == lowered)
            return &table[i];
    return nullptr;
}

} // namespace tov

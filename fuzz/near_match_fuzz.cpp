// The ranking with near matches over any bytes: lines become phrases (as written, and lower-cased
// as the list holds them), the first line is the typed text and the second its keys. Nothing may
// read out of bounds or hang, every exact match must hold the typed text, and every near match
// come after all of them, by kind.
#include "base/text.h"
#include "catalogue/match_forms.h"
#include "catalogue/readings.h"
#include "suggest/rank.h"
#include "suggest/typed_keys.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Every unit of a reading spelling, whatever its bytes, is read within them.
void WalkUnits(std::string_view units) {
    while (!units.empty()) {
        const tov::ReadingUnit unit = tov::FirstUnit(units);
        if (unit.size == 0 || unit.size > units.size())
            std::abort();
        std::string_view alternatives = unit.alternatives;
        while (!tov::NextAlternative(alternatives).empty()) {
        }
        units.remove_prefix(unit.size);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    WalkUnits(input);
    std::vector<std::string> spelled = Lines(input);
    const std::string typed = tov::LowerCase(spelled.front());
    std::vector<tov::TypedKey> keys;
    if (spelled.size() > 1)
        for (char c : spelled[1])
            keys.push_back({static_cast<std::uint8_t>(c), 1});
    spelled.front().clear();
    std::vector<std::string> phrases;
    for (const std::string& s : spelled)
        phrases.push_back(tov::LowerCase(s));
    const tov::MatchForms forms =
        tov::BuildMatchForms(phrases, [&spelled](std::size_t i) { return spelled[i]; });
    for (std::size_t i = 0; i < phrases.size(); ++i)
        WalkUnits(tov::UnitsOf(forms.Readings(i)));

    const std::string usLayout = tov::UsLayoutText(keys, typed);
    const std::vector<tov::Match> matches = tov::RankMatches(phrases, typed, {}, {&forms, usLayout});
    tov::MatchKind last = tov::MatchKind::Exact;
    for (const tov::Match& m : matches) {
        if (m.index == 0 || m.index >= phrases.size() || m.kind < last)
            std::abort();
        if (m.kind == tov::MatchKind::Exact && phrases[m.index].find(typed) == std::string::npos)
            std::abort();
        if (m.kind != tov::MatchKind::Exact && phrases[m.index].find(typed) != std::string::npos)
            std::abort();
        last = m.kind;
    }
    return 0;
}

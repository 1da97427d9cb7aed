#pragma once
// Usage memory: the influence list ("influence.lst", read only) and the tack list
// ("commandtack.lst", rewritten on every change). The ranking asks both lists about every
// match on every keystroke, so each list carries an index; change the lists only through
// the functions below, which keep the indexes in step.
#include "catalogue/list_file.h"
#include "suggest/influence_index.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tov {

inline constexpr const char* kInfluenceFile = "influence.lst";
inline constexpr const char* kTackFile = "commandtack.lst";

struct InfluenceEntry {
    std::string phrase;
    std::int16_t count = 0;
};

struct TackEntry {
    std::string command;
    std::string typed;
};

struct TransparentStringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

struct UsageMemory {
    std::vector<InfluenceEntry> influence;
    std::vector<TackEntry> tacks;

    InfluenceIndex influenceIndex;
    // Typed text -> the commands tacked to it, in list order; entries with an empty command are left out.
    std::unordered_map<std::string, std::vector<std::string>, TransparentStringHash, std::equal_to<>>
        tackIndex;
};

// The influence file's lines, read in pairs (phrase, count). A count that is no number, or
// lies outside -32767..32767, loses its entry; when the count line is no number at all the
// pairing starts again at that line, so one missing line costs one entry, not the rest of the file.
std::vector<InfluenceEntry> ParseInfluenceLines(const std::vector<std::string>& lines);
// The tack file's lines in pairs (command, typed); an unpaired last line is dropped.
std::vector<TackEntry> ParseTackLines(const std::vector<std::string>& lines);

void SetInfluenceList(UsageMemory& usage, std::vector<InfluenceEntry> entries);
void SetTackList(UsageMemory& usage, std::vector<TackEntry> entries);

// Start-up: the lists from their files; a missing file gives an empty list. `log` hears of
// lines left out.
void LoadInfluence(UsageMemory& usage, const std::string& path,
                   const std::function<void(std::string_view)>& log);
void LoadTacks(UsageMemory& usage, const std::string& path, const std::function<void(std::string_view)>& log);

// The count of the first entry whose phrase equals `phrase`, letter case ignored on both sides; 0 when none.
std::int16_t GetInfluence(const UsageMemory& usage, std::string_view phrase);
// Whether `phrase` is tacked to `typed` (both exact).
bool IsTacked(const UsageMemory& usage, std::string_view phrase, std::string_view typed);
// The commands tacked to `typed`, or nullptr when there are none.
const std::vector<std::string>* TackedCommands(const UsageMemory& usage, std::string_view typed);

// Replaces every tack of `typed` with {phrase, typed} when `on`, or removes them.
void SetTackIn(std::vector<TackEntry>& tacks, std::string_view phrase, std::string_view typed, bool on);
void SetTackInList(UsageMemory& usage, std::string_view phrase, std::string_view typed, bool on);
// Changes the list, and makes the same change to the tack file at `path` as it is on disk now,
// in place: the records of `typed` go, the new one is added at the end, and every other line
// stays as it is. The list then holds the file's tacks. When the file cannot be read or written
// (or the texts hold a line break), the list stays changed in memory and the answer says why.
ListSave SetTack(UsageMemory& usage, const std::string& path, std::string_view phrase, std::string_view typed,
                 bool on);

} // namespace tov

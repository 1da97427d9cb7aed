#include "suggest/usage.h"

#include "catalogue/list_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace tov {

namespace {

constexpr double kMaxInfluence = 32767;
constexpr const char* kLineBreakFailure = "a pinned command cannot hold a line break";

// A decimal number with optional blanks around it and an optional sign.
std::optional<double> ParseNumber(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    if (text.starts_with('+'))
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void IndexTacks(UsageMemory& usage) {
    usage.tackIndex.clear();
    for (const auto& tack : usage.tacks)
        if (!tack.command.empty())
            usage.tackIndex[tack.typed].push_back(tack.command);
}

bool FitsOneLine(std::string_view text) {
    return text.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace

std::vector<InfluenceEntry> ParseInfluenceLines(const std::vector<std::string>& lines) {
    std::vector<InfluenceEntry> entries;
    std::size_t i = 0;
    while (i + 1 < lines.size()) {
        const auto number = ParseNumber(lines[i + 1]);
        if (!number) {
            ++i; // the count line may be the next entry's phrase
            continue;
        }
        const double count = std::floor(*number);
        if (count >= -kMaxInfluence && count <= kMaxInfluence)
            entries.push_back({lines[i], static_cast<std::int16_t>(count)});
        i += 2;
    }
    return entries;
}

std::vector<TackEntry> ParseTackLines(const std::vector<std::string>& lines) {
    std::vector<TackEntry> entries;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2)
        entries.push_back({lines[i], lines[i + 1]});
    return entries;
}

void SetInfluenceList(UsageMemory& usage, std::vector<InfluenceEntry> entries) {
    usage.influence = std::move(entries);
    std::vector<std::string> phrases;
    std::vector<std::int16_t> counts;
    for (const auto& e : usage.influence) {
        phrases.push_back(e.phrase);
        counts.push_back(e.count);
    }
    usage.influenceIndex.Build(phrases, counts);
}

void SetTackList(UsageMemory& usage, std::vector<TackEntry> entries) {
    usage.tacks = std::move(entries);
    IndexTacks(usage);
}

void LoadInfluence(UsageMemory& usage, const std::string& path,
                   const std::function<void(std::string_view)>& log) {
    const auto lines = LoadListLines(path, log);
    SetInfluenceList(usage, lines ? ParseInfluenceLines(*lines) : std::vector<InfluenceEntry>{});
}

void LoadTacks(UsageMemory& usage, const std::string& path,
               const std::function<void(std::string_view)>& log) {
    const auto lines = LoadListLines(path, log);
    SetTackList(usage, lines ? ParseTackLines(*lines) : std::vector<TackEntry>{});
}

std::int16_t GetInfluence(const UsageMemory& usage, std::string_view phrase) {
    return usage.influenceIndex.Find(phrase);
}

const std::vector<std::string>* TackedCommands(const UsageMemory& usage, std::string_view typed) {
    const auto it = usage.tackIndex.find(typed);
    return it == usage.tackIndex.end() ? nullptr : &it->second;
}

bool IsTacked(const UsageMemory& usage, std::string_view phrase, std::string_view typed) {
    const auto* commands = TackedCommands(usage, typed);
    return commands && std::find(commands->begin(), commands->end(), phrase) != commands->end();
}

void SetTackIn(std::vector<TackEntry>& tacks, std::string_view phrase, std::string_view typed, bool on) {
    std::erase_if(tacks, [&](const TackEntry& t) { return t.typed == typed; });
    if (on)
        tacks.push_back({std::string(phrase), std::string(typed)});
}

void SetTackInList(UsageMemory& usage, std::string_view phrase, std::string_view typed, bool on) {
    SetTackIn(usage.tacks, phrase, typed, on);
    IndexTacks(usage);
}

ListSave SetTack(UsageMemory& usage, const std::string& path, std::string_view phrase, std::string_view typed,
                 bool on) {
    SetTackInList(usage, phrase, typed, on);
    // A line break inside either text would shift every later pair of the file.
    if (!FitsOneLine(phrase) || !FitsOneLine(typed))
        return {false, kLineBreakFailure};
    // The file is edited as it is now, line by line: tacks another copy of the program wrote
    // since start-up stay, and so does every line this program would not have written itself.
    std::vector<std::string> written;
    const ListSave save = ChangeListFile(path, [&](std::vector<std::string>& lines) {
        RemoveRecords(lines,
                      [&](const std::string&, const std::string& tackedTo) { return tackedTo == typed; });
        if (on)
            AppendRecord(lines, std::string(phrase), std::string(typed));
        written = lines;
    });
    if (save.saved)
        SetTackList(usage, ParseTackLines(written));
    return save;
}

} // namespace tov

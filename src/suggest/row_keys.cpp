#include "suggest/row_keys.h"

#include "base/text.h"
#include "catalogue/built_in_commands.h"
#include "suggest/lower_compare.h"

#include <algorithm>
#include <array>

namespace tov {

namespace {

// As far as the dispatcher follows custom commands that stand for other custom commands.
constexpr int kMostCustomSteps = 8;
constexpr unsigned char kFirstNonAscii = 0x80;

// The command line a phrase leads to: the actions of custom commands, followed.
std::string_view LineOf(const Catalogue& catalogue, std::string_view phrase) {
    std::string_view line = phrase;
    for (int step = 0; step < kMostCustomSteps; ++step) {
        const auto custom = std::ranges::find(catalogue.custom, line, &CustomCommand::Name);
        if (custom == catalogue.custom.end())
            break;
        line = custom->Action;
    }
    return line;
}

unsigned char AsciiLower(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// A run line's target as the dispatcher seeks it: a command-table entry of that name first
// (lower-cased here, as names are compared), else the path itself.
struct Wanted {
    std::size_t row;
    std::string_view target;
    std::string name;
    bool found = false;
};

} // namespace

std::vector<RowKeys> KeysOfPhrases(const Catalogue& catalogue, const std::vector<std::string_view>& phrases) {
    std::vector<RowKeys> keys(phrases.size(), RowKeys::Run);
    const std::string_view runPrefix = BuiltInCommandOf(BuiltInAction::Run).text;
    std::vector<Wanted> wanted;
    std::array<bool, kFirstNonAscii> firstBytes{};
    for (std::size_t row = 0; row < phrases.size(); ++row) {
        const std::string_view line = LineOf(catalogue, phrases[row]);
        if (!line.starts_with(runPrefix) || line.size() == runPrefix.size())
            continue;
        const std::string_view target = line.substr(runPrefix.size());
        std::string name = LowerCase(target);
        const auto first = static_cast<unsigned char>(name.front());
        if (first < kFirstNonAscii)
            firstBytes[first] = true;
        wanted.push_back({row, target, std::move(name)});
    }
    // One pass over the table for every row at once; a name whose first byte no row wants is
    // passed over without comparing.
    std::size_t left = wanted.size();
    for (auto entry = catalogue.table.begin(); left > 0 && entry != catalogue.table.end(); ++entry) {
        const auto first = static_cast<unsigned char>(entry->Name.empty() ? 0 : entry->Name.front());
        if (first < kFirstNonAscii && !firstBytes[AsciiLower(first)])
            continue;
        for (Wanted& w : wanted) {
            if (w.found || !LowersTo(entry->Name, w.name))
                continue;
            w.found = true;
            --left;
            keys[w.row] = IsFileSystemPath(entry->Target) ? RowKeys::RunFile : RowKeys::Run;
        }
    }
    for (const Wanted& w : wanted)
        if (!w.found && IsFileSystemPath(w.target))
            keys[w.row] = RowKeys::RunFile;
    return keys;
}

std::string DescribeRowKeys(RowKeys keys) {
    switch (keys) {
    case RowKeys::RunFile:
        return "Enter runs it, Ctrl+Enter opens its folder, Ctrl+Shift+Enter runs it as administrator";
    case RowKeys::CopyResult:
        return "Enter copies it";
    case RowKeys::Run:
        break;
    }
    return "Enter runs it";
}

} // namespace tov

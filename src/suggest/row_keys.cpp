#include "suggest/row_keys.h"

#include "base/text.h"
#include "catalogue/built_in_commands.h"

#include <algorithm>

namespace tov {

namespace {

// As far as the dispatcher follows custom commands that stand for other custom commands.
constexpr int kMostCustomSteps = 8;

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

} // namespace

std::vector<RowKeys> KeysOfPhrases(const Catalogue& catalogue, const std::vector<std::string_view>& phrases) {
    std::vector<RowKeys> keys;
    keys.reserve(phrases.size());
    const std::string_view runPrefix = BuiltInCommandOf(BuiltInAction::Run).text;
    for (const std::string_view phrase : phrases) {
        const std::string_view line = LineOf(catalogue, phrase);
        if (!line.starts_with(runPrefix) || line.size() == runPrefix.size()) {
            keys.push_back(RowKeys::Run);
            continue;
        }
        // The target as the dispatcher seeks it: a command-table entry of that name first, else
        // the path itself.
        const std::string_view target = line.substr(runPrefix.size());
        const CommandEntry* entry = FindCommandEntry(catalogue, LowerCase(target));
        keys.push_back(IsFileSystemPath(entry ? std::string_view(entry->Target) : target) ? RowKeys::RunFile
                                                                                          : RowKeys::Run);
    }
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

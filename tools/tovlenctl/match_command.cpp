// tovlenctl match TEXT [catalogue options] [--influence FILE] [--tacks FILE] [--selected N] [--rows N]
// [--near 0|1] [--keys VK,...]: the ranking the command line would show for TEXT, every match and
// not only the rows on screen, each with the kind of match it is. --keys names the virtual keys
// that typed TEXT, one for each character, as the keyboard hook keeps them.
#include "base/text.h"
#include "catalogue/list_file.h"
#include "catalogue_options.h"
#include "commands.h"
#include "input/state.h"
#include "json.h"
#include "platform/files.h"
#include "suggest/rank.h"
#include "suggest/typed_keys.h"
#include "suggest/usage.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace tov::ctl {

namespace {

constexpr const char* kUsage =
    "match TEXT [catalogue options] [--influence FILE] [--tacks FILE] [--selected N] "
    "[--rows N] [--near 0|1] [--keys VK,...]";

struct MatchOptions {
    std::string text;
    std::optional<std::string> influence;
    std::optional<std::string> tacks;
    std::int16_t selected = 0;
    std::int16_t rows = kDefaultSuggestionCount;
    bool near = true;
    std::vector<TypedKey> keys;
    CatalogueOptions catalogue;
};

// "0x43,65,...": one virtual key for each character of the text.
std::optional<std::vector<TypedKey>> ParseKeys(const std::string& text) {
    std::vector<TypedKey> keys;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        std::string_view item(text.data() + start, end - start);
        int base = 10;
        if (item.starts_with("0x") || item.starts_with("0X")) {
            item.remove_prefix(2);
            base = 16;
        }
        unsigned value = 0;
        const auto [stop, error] = std::from_chars(item.data(), item.data() + item.size(), value, base);
        if (item.empty() || error != std::errc() || stop != item.data() + item.size() || value > UINT8_MAX)
            return std::nullopt;
        keys.push_back({static_cast<std::uint8_t>(value), 1});
        start = end + 1;
    }
    return keys;
}

std::optional<std::int16_t> ParseInt16(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < INT16_MIN || value > INT16_MAX)
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

bool ParseMatchOptions(const Args& args, MatchOptions& out, std::string& error) {
    Args rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool ours = arg == "--influence" || arg == "--tacks" || arg == "--selected" ||
                          arg == "--rows" || arg == "--near" || arg == "--keys";
        if (!ours) {
            rest.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (arg == "--influence") {
            out.influence = value;
        } else if (arg == "--tacks") {
            out.tacks = value;
        } else if (arg == "--near") {
            if (value != "0" && value != "1") {
                error = arg + " needs 0 or 1";
                return false;
            }
            out.near = value == "1";
        } else if (arg == "--keys") {
            auto keys = ParseKeys(value);
            if (!keys) {
                error = arg + " needs virtual-key codes separated by commas";
                return false;
            }
            out.keys = std::move(*keys);
        } else {
            const auto number = ParseInt16(value);
            if (!number) {
                error = arg + " needs a number from -32768 to 32767";
                return false;
            }
            (arg == "--selected" ? out.selected : out.rows) = *number;
        }
    }
    if (!ParseCatalogueOptions(rest, out.catalogue, error))
        return false;
    if (out.catalogue.rest.size() != 1) {
        error = out.catalogue.rest.empty() ? "no TEXT to match" : "unknown argument " + out.catalogue.rest[1];
        return false;
    }
    // The command line holds what the keys gave, lower-cased.
    out.text = LowerCase(out.catalogue.rest.front());
    return true;
}

// A usage file named by its option, else the one in the program folder the catalogue reads.
std::vector<std::string> UsageLines(const std::optional<std::string>& file, const std::string& programFolder,
                                    const char* name) {
    const std::string path = file                    ? *file
                             : programFolder.empty() ? std::string()
                                                     : JoinPath(programFolder, name);
    if (path.empty())
        return {};
    const auto text = ReadListFile(path);
    return text ? text->lines : std::vector<std::string>{};
}

} // namespace

int MatchRanking(const Args& args) {
    MatchOptions options;
    std::string error;
    if (!ParseMatchOptions(args, options, error)) {
        std::fprintf(stderr, "tovlenctl match: %s\nusage: tovlenctl %s %s\n", error.c_str(), kUsage,
                     kCatalogueOptionsUsage);
        return 2;
    }
    const CatalogueSources& sources = options.catalogue.sources;
    const Catalogue catalogue = BuildCatalogueFrom(sources);
    UsageMemory usage;
    SetInfluenceList(
        usage, ParseInfluenceLines(UsageLines(options.influence, sources.programFolder, kInfluenceFile)));
    SetTackList(usage, ParseTackLines(UsageLines(options.tacks, sources.programFolder, kTackFile)));

    const std::string usLayout = UsLayoutText(options.keys, options.text);
    NearOptions near;
    if (options.near)
        near = {.forms = &catalogue.forms, .usLayoutText = usLayout};
    const std::vector<Match> matches = RankMatches(catalogue.phrases, options.text, usage, near);
    std::int16_t selected = options.selected;
    const std::string result = SelectMatch(catalogue.phrases, matches, selected);

    json::Writer w;
    w.BeginObject().Field("result", result).Key("selected").Number(selected);
    const std::size_t shown =
        options.rows > 0 ? std::min<std::size_t>(static_cast<std::size_t>(options.rows), matches.size())
                         : matches.size();
    w.Key("shown").Number(static_cast<std::int64_t>(shown));
    w.Key("rows").BeginArray();
    for (const Match& m : matches) {
        const std::string& phrase = catalogue.phrases[m.index];
        w.BeginObject()
            .Field("phrase", phrase)
            .Key("position")
            .Number(m.position)
            .Field("kind", KindName(m.kind))
            .Key("tacked")
            .Bool(IsTacked(usage, phrase, options.text))
            .EndObject();
    }
    w.EndArray().EndObject();
    std::puts(w.Text().c_str());
    return 0;
}

} // namespace tov::ctl

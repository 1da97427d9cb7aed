#include "catalogue_options.h"

#include "platform/files.h"

#include <cstdio>
#include <optional>
#include <string_view>

#ifdef _WIN32
#include "app/catalogue_build.h"
#include "app/settings.h"
#include "input/state.h"
#include "platform/win32/make_win32_platform.h"
#endif

namespace tov::ctl {

const char* const kCatalogueOptionsUsage =
    "[--program-folder D] [--common-programs D] [--programs D] [--favorites D] [--common-favorites D] "
    "[--firefox-profiles D] [--local-app-data D] [--ie 0|1] [--ff 0|1] [--chromium 0|1] [--apps 0|1] "
    "[--settings 0|1]";

namespace {

// `listApps` asks for the Applications folder even where the settings turn the apps off.
CatalogueSources SourcesOfThisSystem([[maybe_unused]] bool listApps) {
#ifdef _WIN32
    const auto system = MakeWin32Platform();
    Platform& platform = *system;
    State state;
    LoadSettings(platform, state);
    if (listApps)
        state.ShowApps = 1;
    CatalogueSources sources = SystemCatalogueSources(platform, CatalogueChoicesOf(state));
    ListChosenApps(platform, sources);
    return sources;
#else
    return {};
#endif
}

constexpr bool kSystemSettingsForFlags =
#ifdef _WIN32
    true;
#else
    false;
#endif

} // namespace

bool ParseCatalogueOptions(const Args& args, CatalogueOptions& out, std::string& error) {
    out = CatalogueOptions{};
    const std::pair<const char*, std::string CatalogueSources::*> folders[] = {
        {"--program-folder", &CatalogueSources::programFolder},
        {"--common-programs", &CatalogueSources::commonPrograms},
        {"--programs", &CatalogueSources::programs},
        {"--favorites", &CatalogueSources::favorites},
        {"--common-favorites", &CatalogueSources::commonFavorites},
        {"--firefox-profiles", &CatalogueSources::firefoxProfiles},
        {"--local-app-data", &CatalogueSources::localAppData},
    };
    std::optional<bool> ie;
    std::optional<bool> ff;
    std::optional<bool> chromium;
    std::optional<bool> apps;
    std::optional<bool> settings;
    const std::pair<const char*, std::optional<bool>*> flags[] = {{"--ie", &ie},
                                                                  {"--ff", &ff},
                                                                  {"--chromium", &chromium},
                                                                  {"--apps", &apps},
                                                                  {"--settings", &settings}};

    CatalogueSources given;
    std::vector<std::string CatalogueSources::*> givenFolders;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool matched = false;
        for (const auto& [name, field] : folders) {
            if (arg != name)
                continue;
            if (i + 1 >= args.size()) {
                error = arg + " needs a folder";
                return false;
            }
            given.*field = args[++i];
            givenFolders.push_back(field);
            matched = true;
        }
        for (const auto& [name, flag] : flags) {
            if (arg != name)
                continue;
            if (i + 1 >= args.size() || (args[i + 1] != "0" && args[i + 1] != "1")) {
                error = arg + " needs 0 or 1";
                return false;
            }
            *flag = args[++i] == "1";
            matched = true;
        }
        if (!matched)
            out.rest.push_back(arg);
    }

    CatalogueSources& s = out.sources;
    s = SourcesOfThisSystem(apps.value_or(false));
    // The platform that the system's sources log through is gone by now (a call crashed the tool);
    // what the build would log goes beside the document instead.
    s.log = [](std::string_view line) {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
    };
    // A relative folder is the one below where the tool was started, whoever reads it later.
    for (auto field : givenFolders) {
        const std::string& folder = given.*field;
        s.*field = folder.empty() ? folder : AbsolutePath(folder);
        if (!folder.empty() && (s.*field).empty()) {
            error = "cannot resolve the folder " + folder;
            return false;
        }
    }
    if (!kSystemSettingsForFlags) {
        s.ieFavorites = !s.favorites.empty() || !s.commonFavorites.empty();
        s.firefoxBookmarks = !s.firefoxProfiles.empty();
        s.chromiumBookmarks = !s.localAppData.empty();
    }
    if (ie)
        s.ieFavorites = *ie;
    if (ff)
        s.firefoxBookmarks = *ff;
    if (chromium)
        s.chromiumBookmarks = *chromium;
    if (apps)
        s.windowsApps = *apps;
    if (settings)
        s.settingsPages = *settings;
    return true;
}

Catalogue BuildCatalogueFrom(const CatalogueSources& sources) {
    return BuildCatalogue(sources);
}

} // namespace tov::ctl

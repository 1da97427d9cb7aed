#pragma once
// Keeping the catalogue current: builds run on a worker and land on the program's thread in
// one step, and the folders the catalogue is read from are watched so that it follows them.
#include "app/debounce.h"
#include "app/stall_probe.h"
#include "catalogue/catalogue.h"
#include "catalogue/start_menu.h"
#include "platform/background.h"
#include "platform/platform.h"

#include <memory>
#include <vector>

namespace tov {

struct App;

// A build done on the worker, waiting to land.
struct BuiltCatalogue {
    Catalogue catalogue;
    std::vector<FolderWatchRequest> watchList;
    std::shared_ptr<const ShortcutMemory> shortcuts;
    std::chrono::milliseconds took{};
};

inline constexpr std::chrono::milliseconds kChangesSettle{500};
inline constexpr std::chrono::milliseconds kLongestChangeWait{1500};

struct CatalogueRefresh {
    // At most one build at a time; a request while one runs makes one more build after it,
    // so the catalogue ends up matching the latest settings and files.
    bool building = false;
    bool again = false;
    bool landed = false; // the first build has landed
    // A build that came back during a submit waits for the submit to end, as the submit may
    // hold entries of the table in use.
    std::shared_ptr<BuiltCatalogue> parked;
    // What the table in use read from each shortcut; the next build reads only changed files.
    std::shared_ptr<const ShortcutMemory> knownShortcuts;
    TimerPtr parkedRetry;
    Debounce changes{kChangesSettle, kLongestChangeWait};
    TimerPtr settleTimer;
    FolderWatchPtr watch;
    std::vector<FolderWatchRequest> watched;
    StallProbe stalls;
};

// Starts a build from the settings of the moment, or asks for one more after the running one.
void RequestCatalogueBuild(App& app);

// A watched folder changed: rebuilds once the burst of changes has settled.
void NoteCatalogueSourceChange(App& app);

} // namespace tov

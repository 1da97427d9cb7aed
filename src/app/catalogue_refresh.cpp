#include "app/catalogue_refresh.h"

#include "app/app.h"
#include "app/catalogue_build.h"
#include "catalogue/build.h"
#include "catalogue/watch_list.h"

#include <utility>

namespace tov {

namespace {

// Soon after the submit that held the build back has ended.
constexpr std::chrono::milliseconds kParkedRetry{10};

std::chrono::milliseconds Since(MonotonicTime start, MonotonicTime end) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(end - start);
}

void Watch(App& app, std::vector<FolderWatchRequest> list) {
    CatalogueRefresh& refresh = app.catalogueRefresh;
    if (refresh.watch && SameFolders(list, refresh.watched))
        return;
    refresh.watch.reset();
    refresh.watched = list;
    const std::size_t folders = list.size();
    refresh.watch = app.platform.WatchFolders(std::move(list), [&app] { NoteCatalogueSourceChange(app); });
    if (!refresh.watch)
        app.platform.Log("Catalogue: its folders cannot be watched; it follows them only when rebuilt");
    else
        app.platform.Log("Watching " + std::to_string(folders) + " folders for changes to the catalogue");
}

void Land(App& app, const std::shared_ptr<BuiltCatalogue>& built) {
    CatalogueRefresh& refresh = app.catalogueRefresh;
    if (app.inSubmit) {
        refresh.parked = built;
        refresh.parkedRetry = app.platform.StartTimer(kParkedRetry, [&app] {
            if (auto parked = std::move(app.catalogueRefresh.parked))
                Land(app, parked);
        });
        return;
    }
    refresh.parkedRetry.reset();
    // The table in use is replaced in one step; it is never changed in place. Freeing the old
    // one takes this thread a while when it is large, so a worker does it.
    auto previous = std::make_shared<Catalogue>(std::exchange(app.catalogue, std::move(built->catalogue)));
    auto previousShortcuts = std::exchange(refresh.knownShortcuts, std::move(built->shortcuts));
    app.platform.RunInBackground([previous, previousShortcuts]() mutable {
        previous.reset();
        previousShortcuts.reset();
        return HandOver{};
    });
    refresh.building = false;
    refresh.landed = true;
    app.platform.Log(StallReport(
        refresh.stalls, "Catalogue: " + std::to_string(app.catalogue.table.size()) + " entries built in " +
                            std::to_string(built->took.count()) + " ms, with " +
                            std::to_string(app.catalogue.custom.size()) + " custom commands"));
    Watch(app, std::move(built->watchList));
    State& s = app.state;
    if ((s.WindowOpen && !s.CommandText.empty()) || !s.Submits.empty()) {
        // The line typed meanwhile is ranked against the new table.
        s.DisplayDirty = true;
        app.platform.RequestWake();
    }
    if (refresh.again) {
        refresh.again = false;
        RequestCatalogueBuild(app);
    }
}

// The table in use stays; the next request builds afresh.
void Failed(App& app, const std::string& reason) {
    CatalogueRefresh& refresh = app.catalogueRefresh;
    refresh.building = false;
    refresh.landed = true; // a submit held for the first build waits no longer
    app.platform.Log("Catalogue: the build failed: " + reason);
    app.state.DisplayDirty = true;
    app.platform.RequestWake();
    if (refresh.again) {
        refresh.again = false;
        RequestCatalogueBuild(app);
    }
}

// Runs on the worker: everything it reads is its own copy, and `app` is only handed on.
HandOver BuildOnWorker(App& app, Platform& platform, CatalogueSources sources) {
    const auto started = std::chrono::steady_clock::now();
    ListChosenApps(platform, sources);
    auto built = std::make_shared<BuiltCatalogue>();
    auto read = std::make_shared<ShortcutMemory>();
    sources.shortcutsRead = read.get();
    built->catalogue = BuildCatalogue(sources);
    built->shortcuts = std::move(read);
    built->watchList = CatalogueWatchList(sources);
    built->took = Since(started, std::chrono::steady_clock::now());
    return [&app, built] { Land(app, built); };
}

void SettleChanges(App& app) {
    CatalogueRefresh& refresh = app.catalogueRefresh;
    const MonotonicTime now = app.platform.MonotonicNow();
    if (TakeSettled(refresh.changes, now)) {
        refresh.settleTimer.reset();
        RequestCatalogueBuild(app);
        return;
    }
    if (const auto settles = SettlesAt(refresh.changes))
        refresh.settleTimer = app.platform.StartTimer(
            std::max(std::chrono::milliseconds(1), Since(now, *settles)), [&app] { SettleChanges(app); });
}

} // namespace

void RequestCatalogueBuild(App& app) {
    CatalogueRefresh& refresh = app.catalogueRefresh;
    if (refresh.building) {
        refresh.again = true;
        return;
    }
    refresh.building = true;
    StartStallCount(app.platform, refresh.stalls);
    Platform& platform = app.platform;
    CatalogueSources sources = SystemCatalogueSources(platform, CatalogueChoicesOf(app.state));
    sources.knownShortcuts = refresh.knownShortcuts;
    platform.RunInBackground(HandingOverAlways(
        [&app, &platform, sources = std::move(sources)]() mutable {
            return BuildOnWorker(app, platform, std::move(sources));
        },
        [&app](const std::string& reason) -> HandOver { return [&app, reason] { Failed(app, reason); }; }));
}

void NoteCatalogueSourceChange(App& app) {
    CatalogueRefresh& refresh = app.catalogueRefresh;
    const bool settling = SettlesAt(refresh.changes).has_value();
    NoteChange(refresh.changes, app.platform.MonotonicNow());
    if (!settling)
        SettleChanges(app);
}

} // namespace tov

#include "app/catalogue_build.h"

#include "app/app.h"
#include "catalogue/build.h"

namespace tov {

void BuildCatalogue(App& app) {
    CatalogueBuildGuard& guard = app.catalogueBuild;
    if (guard.running) {
        guard.again = true;
        return;
    }
    struct Running {
        explicit Running(CatalogueBuildGuard& g) : guard(g) { guard.running = true; }
        ~Running() { guard.running = false; }
        CatalogueBuildGuard& guard;
    } running(guard);
    do {
        guard.again = false;
        const CatalogueSources sources = SystemCatalogueSources(app.platform, CatalogueChoicesOf(app.state));
        BuildCatalogue(app.catalogue, sources, [&] { app.platform.PumpPendingMessages(); });
    } while (guard.again);
}

CatalogueChoices CatalogueChoicesOf(const State& state) {
    return {.ieFavorites = state.ShowIEFavorites != 0,
            .firefoxBookmarks = state.ShowFFFavorites != 0,
            .chromiumBookmarks = state.ShowChromiumBookmarks != 0,
            .windowsApps = state.ShowApps != 0};
}

} // namespace tov

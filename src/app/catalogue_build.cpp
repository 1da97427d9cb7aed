#include "app/catalogue_build.h"

#include "app/app.h"
#include "app/catalogue_refresh.h"
#include "catalogue/build.h"

namespace tov {

void BuildCatalogue(App& app) {
    RequestCatalogueBuild(app);
}

bool FirstCatalogueUnderWay(const App& app) {
    return app.catalogueRefresh.building && !app.catalogueRefresh.landed;
}

CatalogueChoices CatalogueChoicesOf(const State& state) {
    return {.ieFavorites = state.ShowIEFavorites != 0,
            .firefoxBookmarks = state.ShowFFFavorites != 0,
            .chromiumBookmarks = state.ShowChromiumBookmarks != 0,
            .windowsApps = state.ShowApps != 0,
            .settingsPages = state.ShowSettingsPages != 0};
}

} // namespace tov

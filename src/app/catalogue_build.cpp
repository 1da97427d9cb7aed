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
        const CatalogueSources sources = SystemCatalogueSources(app.platform, app.state.ShowIEFavorites != 0,
                                                                app.state.ShowFFFavorites != 0);
        BuildCatalogue(app.catalogue, sources, [&] { app.platform.PumpPendingMessages(); });
    } while (guard.again);
}

} // namespace tov

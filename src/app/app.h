#pragma once
// Everything the running program holds, owned by its thread: the process-wide values, the
// catalogue (built on a worker, swapped in here), the usage memory and the forms. Only app/
// sees it whole; the routines below it are handed the parts they use.
#include "app/catalogue_refresh.h"
#include "catalogue/catalogue.h"
#include "catalogue/save_failure.h"
#include "input/hooks.h"
#include "input/state.h"
#include "platform/forms.h"
#include "platform/platform.h"
#include "suggest/icon_cache.h"
#include "suggest/rank.h"
#include "suggest/usage.h"

#include <optional>
#include <string>

namespace tov {

struct App {
    explicit App(Platform& p) : platform(p) {}
    App(const App&) = delete;
    App& operator=(const App&) = delete;
    // However the program ends, the hooks go before the state they read.
    ~App() {
        RemoveHooks(platform, state);
        UnloadAllForms(platform, forms);
    }

    Platform& platform;
    State state;
    Catalogue catalogue;
    UsageMemory usage;
    IconCache icons;
    Ranking ranking;
    // The command line's result when it is arithmetic, as MatchCommand last found it.
    std::optional<std::string> calculation;
    SaveFailures saveFailures;
    Forms forms;
    MonotonicTime splashLoaded{}; // when frmLoad was made; it stands a while from then
    CatalogueRefresh catalogueRefresh;
    // A submit is being carried out, further down this thread's stack.
    bool inSubmit = false;
};

} // namespace tov

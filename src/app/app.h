#pragma once
// Everything the running program holds, owned by its one thread: the process-wide values,
// the catalogue, the usage memory and the forms. Only app/ sees it whole; the routines below
// it are handed the parts they use.
#include "catalogue/catalogue.h"
#include "catalogue/save_failure.h"
#include "input/state.h"
#include "platform/forms.h"
#include "platform/platform.h"
#include "suggest/icon_cache.h"
#include "suggest/rank.h"
#include "suggest/usage.h"

namespace tov {

// A rebuild asked for from inside a running build (through the messages the folder walk
// lets through) runs again once the running one is done, so the catalogue ends up matching
// the latest settings and is never filled by two builds at once.
struct CatalogueBuildGuard {
    bool running = false;
    bool again = false;
};

struct App {
    explicit App(Platform& p) : platform(p) {}
    App(const App&) = delete;
    App& operator=(const App&) = delete;
    ~App() { UnloadAllForms(platform, forms); }

    Platform& platform;
    State state;
    Catalogue catalogue;
    UsageMemory usage;
    IconCache icons;
    Ranking ranking;
    SaveFailures saveFailures;
    Forms forms;
    MonotonicTime splashLoaded{}; // when frmLoad was made; it stands a while from then
    CatalogueBuildGuard catalogueBuild;
    // A submit is being carried out, further down this thread's stack.
    bool inSubmit = false;
};

} // namespace tov

#pragma once
// Everything the running program holds, owned by its one thread: the process-wide values,
// the catalogue, the usage memory and the forms.
#include "app/state.h"
#include "catalogue/catalogue.h"
#include "catalogue/save_failure.h"
#include "platform/form.h"
#include "platform/platform.h"
#include "suggest/icon_cache.h"
#include "suggest/rank.h"
#include "suggest/usage.h"

#include <memory>
#include <vector>

namespace tov {

struct Forms {
    std::unique_ptr<Form> frmWelcome;
    std::unique_ptr<Form> frmSystray;
    std::unique_ptr<Form> frmLoad;
    std::unique_ptr<Form> frmMain;
    std::unique_ptr<Form> frmPrefs;
    std::unique_ptr<Form> frmRemap;
    std::unique_ptr<Form> frmCommandSuggestion;
    std::unique_ptr<Form> frmUpdate;
};

struct App {
    explicit App(Platform& p) : platform(p) {}
    App(const App&) = delete;
    App& operator=(const App&) = delete;
    ~App();

    Platform& platform;
    State state;
    Catalogue catalogue;
    UsageMemory usage;
    IconCache icons;
    Ranking ranking;
    SaveFailures saveFailures;
    Forms forms;
    MonotonicTime splashLoaded{}; // when frmLoad was made; it stands a while from then
    // Forms unloaded by their own handlers die here, after the handler has returned.
    std::vector<std::unique_ptr<Form>> unloaded;
};

// Destroys the form's window, if any, and forgets the form.
void UnloadForm(App& app, std::unique_ptr<Form>& form);

// Path of a file in the program's own folder.
std::string ProgramFile(App& app, const std::string& name);

} // namespace tov

#include "catalogue/build.h"

#include "app/app.h"

namespace tov {

void BuildCatalogue(Catalogue& catalogue, const CatalogueSources&, const std::function<void()>&) {
    catalogue.phrases.assign(14, std::string());
    const char* builtIns[] = {"exit",     "close",  "minimize", "maximize",      "preferences", "reboot",
                              "shutdown", "shutdown (force)", "logoff", "lock computer", "help", "screensaver"};
    for (int i = 0; i < 12; ++i)
        catalogue.phrases[static_cast<std::size_t>(i + 1)] = builtIns[i];
    catalogue.custom.clear();
    catalogue.table.clear();
}

CatalogueSources SystemCatalogueSources(App& app) {
    CatalogueSources s;
    s.programFolder = app.platform.ProgramFolder();
    return s;
}

void BuildCatalogue(App& app) {
    BuildCatalogue(app.catalogue, SystemCatalogueSources(app), [&] { app.platform.PumpPendingMessages(); });
}

bool IsInCommandTable(const Catalogue& catalogue, std::string_view name) {
    for (const auto& e : catalogue.table)
        if (e.Name == name)
            return true;
    return false;
}

} // namespace tov

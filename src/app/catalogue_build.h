#pragma once

namespace tov {

struct App;
struct CatalogueChoices;
struct State;

// Rebuilds the running program's catalogue from the system's folders and the settings in
// memory: on a worker, the new table taking the old one's place when it is done. Returns at once.
void BuildCatalogue(App& app);

// The first build has been asked for and has not landed yet: the catalogue holds nothing.
bool FirstCatalogueUnderWay(const App& app);

// The sources the settings in memory turn on.
CatalogueChoices CatalogueChoicesOf(const State& state);

} // namespace tov

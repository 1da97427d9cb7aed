#pragma once

namespace tov {

struct App;
struct CatalogueChoices;
struct State;

// The running program's catalogue build: the system's folders and the favourites settings
// in memory, letting messages through as it walks.
void BuildCatalogue(App& app);

// The sources the settings in memory turn on.
CatalogueChoices CatalogueChoicesOf(const State& state);

} // namespace tov

#pragma once

namespace tov {

struct App;

// The running program's catalogue build: the system's folders and the favourites settings
// in memory, letting messages through as it walks.
void BuildCatalogue(App& app);

} // namespace tov

#pragma once

namespace tov {

struct App;

// Start-up, in its fixed order; leaves the hooks installed and Running set.
void Startup(App& app);
// Retrieves and dispatches messages until Running is cleared or the quit message arrives.
void MainLoop(App& app);
// Removes the hooks and the tray icon and destroys every window, in a fixed order.
void Shutdown(App& app);

// The main loop's share of the input work: brings the windows in step with the command-line
// state that the hooks changed, saves a captured key, and carries out a requested submit.
// Runs from the wake message, so also inside nested message loops.
void ServiceInput(App& app);

// The whole life of the program.
int RunTovlen(App& app);

} // namespace tov

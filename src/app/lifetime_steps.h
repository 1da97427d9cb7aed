#pragma once
// Start-up and shutdown steps that belong to the program's chrome: the start-up shortcut,
// the splash, the tray icon.
namespace tov {

struct App;

void EnsureStartupShortcut(App& app);
void ShowSplash(App& app);
void FadeAwaySplash(App& app); // returns when the splash is gone (and the welcome window is up when due)
void AddProgramTrayIcon(App& app);
void RemoveProgramTrayIcon(App& app);

} // namespace tov

#include "app/lifetime_steps.h"

namespace tov {

void EnsureStartupShortcut(App&) {}
void ShowSplash(App&) {}
void FadeAwaySplash(App&) {}
void AddProgramTrayIcon(App&) {}
void RemoveProgramTrayIcon(App&) {}

} // namespace tov

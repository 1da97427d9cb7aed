#pragma once
// Start-up and shutdown steps that belong to the program's chrome: the start-up shortcut,
// the splash, the tray icon.
#include "app/splash.h"
#include "app/startup_shortcut.h"
#include "app/tray.h"

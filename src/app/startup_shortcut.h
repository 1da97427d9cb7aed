#pragma once
// The shortcut that starts the program at log-on.
#include "platform/settings_store.h"

#include <functional>
#include <string>
#include <vector>

namespace tov {

struct App;

constexpr const char* kStartupShortcutName = kAppName;
constexpr const char* kProgramFileName = "Tovlen.exe";

// Where the shortcut lives in a Startup folder.
std::string StartupShortcutPath(const std::string& startupFolder);

// The Startup folders to try writing the shortcut to, in order: the all-users one, when
// `forAllUsers`, then the user's own for when the all-users one cannot be written. None when
// either already holds the shortcut, so the program never starts twice at log-on; unresolved
// folders are left out.
std::vector<std::string> StartupShortcutFolders(const std::string& allUsersFolder,
                                                const std::string& userFolder,
                                                const std::function<bool(const std::string& path)>& exists,
                                                bool forAllUsers = true);

// Start-up's first step: creates the shortcut when it is missing. Never reports anything.
void EnsureStartupShortcut(App& app);

} // namespace tov

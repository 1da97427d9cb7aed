#pragma once
// Keeps a downloaded installer where only the user can write, checks it through a handle that
// shuts everyone else out, and starts what was checked while that handle is still held.
#include "platform/platform.h"
#include "update/update_trust.h"

#include <functional>
#include <string>

namespace tov {

// Below the user's local application data: a folder no other user can write.
inline constexpr const char* kUpdatesFolder = "Tovlen\\updates";

// Where downloads are kept; empty when the system names no local application data folder.
std::string UpdatesFolder(Platform& platform);

// Deletes what earlier updates left; an installer that still runs stays until the next time.
void RemoveLeftoverDownloads(Platform& platform);

// What the installer is told: the update window's handle, then the folder to install into
// (NSIS's /D=, which must come last and unquoted).
std::string InstallerArguments(WindowHandle updateWindow, const std::string& programFolder);

struct InstallRequest {
    SignerList signers;
    VersionNumber runningVersion;
    std::string programFolder; // where the program lives: installed into, and the working folder
    WindowHandle updateWindow = 0;
};

enum class InstallOutcome { Started, NotSaved, NotVerified, NotInstaller, NotNewer, NotStarted };

// Saves `installer` under a fresh name, holds it, runs `announce`, checks the signature, that
// it is the installer and its version through the held handle, and starts it. Whatever is not
// started is deleted.
InstallOutcome InstallUpdate(Platform& platform, std::string installer, const InstallRequest& request,
                             const std::function<void()>& announce);

} // namespace tov

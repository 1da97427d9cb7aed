#include "app/startup_shortcut.h"

#include "app/app.h"
#include "platform/files.h"

namespace tov {

namespace {

constexpr int kStartupWindowStyle = 0;
constexpr int kStartupIconIndex = 0;

} // namespace

std::string StartupShortcutPath(const std::string& startupFolder) {
    return JoinPath(startupFolder, std::string(kStartupShortcutName) + ".lnk");
}

std::vector<std::string> StartupShortcutFolders(const std::string& allUsersFolder,
                                                const std::string& userFolder,
                                                const std::function<bool(const std::string& path)>& exists,
                                                bool forAllUsers) {
    std::vector<std::string> folders;
    for (const std::string* folder : {&allUsersFolder, &userFolder}) {
        if (folder->empty())
            continue;
        if (exists(StartupShortcutPath(*folder)))
            return {};
        if (folder != &allUsersFolder || forAllUsers)
            folders.push_back(*folder);
    }
    return folders;
}

void EnsureStartupShortcut(App& app) {
    Platform& p = app.platform;
    const std::string programFolder = p.ProgramFolder();
    if (programFolder.empty())
        return; // a shortcut to nowhere would help nobody
    const std::string program = JoinPath(programFolder, kProgramFileName);
    // An administrator can write the all-users folder, but a program that its own user can change
    // (the per-user install) would then run that user's choice of code at every user's log-on.
    const auto folders = StartupShortcutFolders(
        p.SpecialFolder(KnownFolder::CommonStartup), p.SpecialFolder(KnownFolder::Startup),
        [](const std::string& path) { return PathExists(path); }, p.OnlyAdministratorsCanChange(program));
    for (const std::string& folder : folders) {
        const ShortcutRequest request{.targetPath = program,
                                      .folder = folder,
                                      .name = kStartupShortcutName,
                                      .workingDirectory = programFolder,
                                      .windowStyle = kStartupWindowStyle,
                                      .iconIndex = kStartupIconIndex};
        if (p.CreateShortcut(request))
            return;
    }
}

} // namespace tov

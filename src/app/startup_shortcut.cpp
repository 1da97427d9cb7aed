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
                                                const std::function<bool(const std::string& path)>& exists) {
    std::vector<std::string> folders;
    for (const std::string* folder : {&allUsersFolder, &userFolder}) {
        if (folder->empty())
            continue;
        if (exists(StartupShortcutPath(*folder)))
            return {};
        folders.push_back(*folder);
    }
    return folders;
}

void EnsureStartupShortcut(App& app) {
    Platform& p = app.platform;
    const std::string programFolder = p.ProgramFolder();
    if (programFolder.empty())
        return; // a shortcut to nowhere would help nobody
    const auto folders = StartupShortcutFolders(p.SpecialFolder(KnownFolder::CommonStartup),
                                                p.SpecialFolder(KnownFolder::Startup),
                                                [](const std::string& path) { return PathExists(path); });
    for (const std::string& folder : folders) {
        const ShortcutRequest request{.targetPath = JoinPath(programFolder, kProgramFileName),
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

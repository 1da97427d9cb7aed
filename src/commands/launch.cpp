#include "commands/launch.h"

#include "base/text.h"
#include "catalogue/shortcut.h"
#include "platform/program_file.h"

namespace tov {

namespace {

// What a search form leaves as it is; the rest is percent-encoded, blanks as '+'.
constexpr std::string_view kUnencodedPunctuation = "*-._";
constexpr std::string_view kShortcutExtension = ".lnk";

bool StaysAsItIs(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           kUnencodedPunctuation.find(static_cast<char>(c)) != std::string_view::npos;
}

// A shortcut is shown by the file it starts; one that names no file on a drive or share, by itself.
std::string FileShownFor(const std::string& file) {
    ShortcutInfo info;
    if (EndsWith(LowerCase(file), kShortcutExtension) && ReadShortcut(file, info) &&
        IsFileSystemPath(info.Target))
        return info.Target;
    return file;
}

} // namespace

void Launch(Platform& platform, const std::string& file, const std::string& parameters,
            const std::string& workingFolder, SubmitKind kind) {
    if (kind == SubmitKind::Run) {
        platform.ShellOpen(file, parameters, workingFolder, ShowCommand::Show);
    } else if (kind == SubmitKind::OpenFolder) {
        if (const std::string shown = FileShownFor(file); IsFileSystemPath(shown))
            platform.ShowInFolder(shown);
    } else if (IsFileSystemPath(file)) {
        platform.ShellOpenElevated(file, parameters, workingFolder);
    }
}

bool RunProgram(Platform& platform, const Catalogue& catalogue, std::string_view name, SubmitKind kind) {
    const CommandEntry* entry = FindCommandEntry(catalogue, LowerCase(name));
    if (!entry)
        return false;
    // The arguments go as parameters rather than glued to the target, so a target with blanks in
    // its path, or a document with arguments, still opens.
    Launch(platform, entry->Target, entry->Arguments,
           entry->WorkingFolder.empty() ? kDefaultWorkingFolder : entry->WorkingFolder, kind);
    return true;
}

void OpenPath(Platform& platform, const std::string& path, SubmitKind kind) {
    Launch(platform, path, {}, FolderOf(path), kind);
}

void OpenWebSite(Platform& platform, std::string_view site) {
    std::string address(site);
    if (!StartsWith(site, "http://") && !StartsWith(site, "https://"))
        address = "http://" + address;
    platform.ShellOpen(address, {}, kDefaultWorkingFolder, ShowCommand::Show);
}

std::string SearchAddress(std::string_view terms) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string address = kSearchAddress;
    for (char ch : terms) {
        const auto c = static_cast<unsigned char>(ch);
        if (StaysAsItIs(c)) {
            address += ch;
        } else if (ch == ' ') {
            address += '+';
        } else {
            address += '%';
            address += kHex[c >> 4];
            address += kHex[c & 0x0F];
        }
    }
    return address;
}

void OpenWebSearch(Platform& platform, std::string_view terms) {
    platform.ShellOpen(SearchAddress(terms), {}, kDefaultWorkingFolder, ShowCommand::Show);
}

void OpenHelp(Platform& platform) {
    platform.ShellOpen(ProgramFile(platform, "help.pdf"), {}, platform.ProgramFolder(), ShowCommand::Show);
}

} // namespace tov

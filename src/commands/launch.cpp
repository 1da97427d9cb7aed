#include "commands/launch.h"

#include "app/app.h"
#include "catalogue/catalogue.h"
#include "platform/text.h"

namespace tov {

namespace {

constexpr std::string_view kCharactersEncodedInQuery = "%&#+\"";
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

bool NeedsEncoding(unsigned char c) {
    return c < kFirstPrintable || c >= kDelete ||
           kCharactersEncodedInQuery.find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

bool RunProgram(App& app, std::string_view name) {
    const std::string wanted = LowerCase(name);
    for (const CommandEntry& entry : app.catalogue.table) {
        if (LowerCase(entry.Name) != wanted)
            continue;
        // The arguments go as parameters rather than glued to the target, so a target
        // with blanks in its path, or a document with arguments, still opens.
        app.platform.ShellOpen(entry.Target, entry.Arguments,
                               entry.WorkingFolder.empty() ? kDefaultWorkingFolder : entry.WorkingFolder,
                               ShowCommand::Show);
        return true;
    }
    return false;
}

void OpenPath(App& app, const std::string& path) {
    app.platform.ShellOpen(path, {}, FolderOf(path), ShowCommand::Show);
}

void OpenWebSite(App& app, std::string_view site) {
    std::string address(site);
    if (!StartsWith(site, "http://") && !StartsWith(site, "https://"))
        address = "http://" + address;
    app.platform.ShellOpen(address, {}, kDefaultWorkingFolder, ShowCommand::Show);
}

std::string SearchAddress(std::string_view terms) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string address = kSearchAddress;
    for (char ch : terms) {
        const auto c = static_cast<unsigned char>(ch);
        if (NeedsEncoding(c)) {
            address += '%';
            address += kHex[c >> 4];
            address += kHex[c & 0x0F];
        } else {
            address += ch;
        }
    }
    return address;
}

void OpenWebSearch(App& app, std::string_view terms) {
    app.platform.ShellOpen(SearchAddress(terms), {}, kDefaultWorkingFolder, ShowCommand::Show);
}

void OpenHelp(App& app) {
    app.platform.ShellOpen(ProgramFile(app, "help.pdf"), {}, app.platform.ProgramFolder(), ShowCommand::Show);
}

} // namespace tov

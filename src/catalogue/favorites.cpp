#include "catalogue/favorites.h"

#include "base/text.h"
#include "catalogue/list_file.h"
#include "catalogue/walk_folder.h"
#include "platform/code_pages.h"
#include "platform/files.h"

namespace tov {

namespace {

constexpr std::string_view kSectionHeader = "[InternetShortcut]";
constexpr std::string_view kAddressKey = "URL=";
constexpr std::string_view kUrlExtension = ".url";
constexpr std::uint64_t kUrlFileLimit = 1u << 20;

} // namespace

std::string InternetShortcutAddress(std::string_view bytes) {
    std::string text;
    for (const auto& line : DecodeListFile(bytes, AnsiCodePage(), kUrlFileLimit).lines)
        text += line + "\r\n";
    const auto header = text.find(kSectionHeader);
    if (header == std::string::npos)
        return {};
    const auto key = text.find(kAddressKey, header);
    if (key == std::string::npos)
        return {};
    const auto start = key + kAddressKey.size();
    return text.substr(start, text.find("\r\n", start) - start);
}

std::string URLRead(const std::string& path) {
    if (!IsPlainFile(path))
        return {};
    const auto bytes = ReadFileBytes(path, kUrlFileLimit);
    return bytes ? InternetShortcutAddress(*bytes) : std::string();
}

void ImportFavorites(Catalogue& catalogue, const std::string& favoritesFolder, std::string_view suffix) {
    for (const auto& file : WalkFolder(favoritesFolder)) {
        const std::string& fileName = file.FindData.name;
        const auto extension = fileName.find(kUrlExtension);
        if (extension == std::string::npos)
            continue;
        std::string address = URLRead(file.Folder + fileName.substr(0, extension + kUrlExtension.size()));
        if (address.empty())
            continue;
        std::string workingFolder = FolderOf(address);
        AddCommandEntry(catalogue,
                        CommandEntry{std::move(address),
                                     LowerCase(fileName.substr(0, extension)) + std::string(suffix),
                                     {},
                                     std::move(workingFolder),
                                     {}});
    }
}

} // namespace tov

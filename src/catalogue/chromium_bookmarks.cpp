#include "catalogue/chromium_bookmarks.h"

#include "base/text.h"
#include "catalogue/walk_folder.h"
#include "catalogue/web_bookmark.h"
#include "platform/files.h"

#include <nlohmann/json.hpp>

namespace tov {

namespace {

using Json = nlohmann::json;

// A heavy user's file is a few megabytes; the parsed tree takes several times the file.
constexpr std::uint64_t kBookmarksFileLimit = 16u << 20;

const std::string* StringMember(const Json& object, const char* key) {
    const auto member = object.find(key);
    return member != object.end() && member->is_string() ? member->get_ptr<const std::string*>() : nullptr;
}

void AddProfilesOf(const std::string& browserFolder, const std::string& browser,
                   std::vector<ChromiumBookmarksFile>& files) {
    const std::string userData = JoinPath(browserFolder, kChromiumUserData);
    for (const auto& profile : Subfolders(userData)) {
        std::string path = JoinPath(JoinPath(userData, profile), kChromiumBookmarksFile);
        if (IsPlainFile(path))
            files.push_back({std::move(path), LowerCase(browser)});
    }
}

} // namespace

std::string ChromiumBookmarkSuffix(std::string_view browser) {
    return " (" + std::string(browser) + " bookmark)";
}

std::vector<CommandEntry> ParseChromiumBookmarks(std::string_view json, std::string_view suffix) {
    const Json document = Json::parse(json.begin(), json.end(), nullptr, /*allow_exceptions=*/false);
    if (!document.is_object())
        return {};
    const auto roots = document.find("roots");
    if (roots == document.end() || !roots->is_object())
        return {};
    // Depth-first in file order without recursion, so no nesting can exhaust the stack.
    std::vector<const Json*> pending;
    for (auto root = roots->crbegin(); root != roots->crend(); ++root)
        pending.push_back(&*root);
    std::vector<CommandEntry> entries;
    while (!pending.empty() && entries.size() < kMostBookmarksPerFile) {
        const Json& node = *pending.back();
        pending.pop_back();
        if (!node.is_object())
            continue;
        const std::string* type = StringMember(node, "type");
        if (type && *type == "url") {
            const std::string* name = StringMember(node, "name");
            const std::string* url = StringMember(node, "url");
            if (url)
                if (auto entry = WebBookmarkEntry(name ? *name : std::string(), *url, suffix))
                    entries.push_back(std::move(*entry));
            continue;
        }
        const auto children = node.find("children");
        if (children != node.end() && children->is_array())
            for (auto child = children->crbegin(); child != children->crend(); ++child)
                pending.push_back(&*child);
    }
    return entries;
}

std::vector<ChromiumBookmarksFile> FindChromiumBookmarksFiles(const std::string& localAppData) {
    std::vector<ChromiumBookmarksFile> files;
    if (localAppData.empty())
        return files;
    for (const auto& vendor : Subfolders(localAppData)) {
        const std::string vendorFolder = JoinPath(localAppData, vendor);
        if (IsFolder(JoinPath(vendorFolder, kChromiumUserData))) {
            AddProfilesOf(vendorFolder, vendor, files);
            continue;
        }
        for (const auto& browser : Subfolders(vendorFolder)) {
            const std::string browserFolder = JoinPath(vendorFolder, browser);
            if (IsFolder(JoinPath(browserFolder, kChromiumUserData)))
                AddProfilesOf(browserFolder, browser, files);
        }
    }
    return files;
}

void ImportChromiumBookmarks(Catalogue& catalogue, const std::string& localAppData) {
    for (const auto& file : FindChromiumBookmarksFiles(localAppData))
        if (const auto bytes = ReadFileBytes(file.path, kBookmarksFileLimit))
            AddBookmarksOnce(catalogue, ParseChromiumBookmarks(*bytes, ChromiumBookmarkSuffix(file.browser)));
}

} // namespace tov

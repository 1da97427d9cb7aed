#include "catalogue/web_bookmark.h"

#include "base/text.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

namespace tov {

namespace {

constexpr const char* kBookmarkWorkingFolder = "C:\\";
constexpr std::size_t kLongestName = 256;      // bytes of the title kept
constexpr std::size_t kLongestAddress = 32768; // beyond what the shell passes on anyway
constexpr std::string_view kWebSchemes[] = {"http", "https", "mailto"};

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

// Valid UTF-8 (bytes that are not become U+FFFD), one line, at most kLongestName bytes and
// never cut inside a character.
std::string ReadableText(std::string_view text) {
    std::string out = Utf16ToUtf8(Utf8ToUtf16(text));
    for (char& c : out)
        if (IsControl(static_cast<unsigned char>(c)))
            c = ' ';
    if (out.size() > kLongestName)
        out.resize(CharacterStart(out, kLongestName));
    return Trim(out);
}

} // namespace

bool IsWebAddress(std::string_view address) {
    const auto colon = address.find(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string scheme = LowerCase(address.substr(0, colon));
    return std::find(std::begin(kWebSchemes), std::end(kWebSchemes), scheme) != std::end(kWebSchemes);
}

std::optional<CommandEntry> WebBookmarkEntry(std::string_view title, std::string_view address,
                                             std::string_view suffix, std::size_t* skippedLinks) {
    if (!IsWebAddress(address)) {
        if (skippedLinks)
            ++*skippedLinks;
        return std::nullopt;
    }
    if (address.size() > kLongestAddress)
        return std::nullopt;
    // A quote would end the quoted address that the shell is given.
    for (char c : address)
        if (IsControl(static_cast<unsigned char>(c)) || c == '"')
            return std::nullopt;
    if (Utf16ToUtf8(Utf8ToUtf16(address)) != address)
        return std::nullopt; // the shell would be handed another address than the one shown
    std::string name = ReadableText(title);
    if (name.empty())
        name = ReadableText(address);
    return CommandEntry{
        std::string(address), LowerCase(name) + std::string(suffix), {}, kBookmarkWorkingFolder, {}};
}

void AddBookmarksOnce(Catalogue& catalogue, std::vector<CommandEntry> entries) {
    std::set<std::pair<std::string, std::string>> known;
    for (const auto& e : catalogue.table)
        known.emplace(e.Name, e.Target);
    for (auto& e : entries)
        if (known.emplace(e.Name, e.Target).second)
            AddCommandEntry(catalogue, std::move(e));
}

} // namespace tov

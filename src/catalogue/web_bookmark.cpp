#include "catalogue/web_bookmark.h"

#include "base/text.h"

#include <set>
#include <utility>

namespace tov {

namespace {

constexpr const char* kBookmarkWorkingFolder = "C:\\";
constexpr std::size_t kLongestName = 256;      // bytes of the title kept
constexpr std::size_t kLongestAddress = 32768; // beyond what the shell passes on anyway
constexpr std::size_t kShortestScheme = 2;     // "c:" would be a drive, not a scheme

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool HasScheme(std::string_view address) {
    const auto colon = address.find(':');
    if (colon == std::string_view::npos || colon < kShortestScheme || !IsAsciiLetter(address[0]))
        return false;
    for (char c : address.substr(1, colon - 1))
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return false;
    return true;
}

// Valid UTF-8 (bytes that are not become U+FFFD), one line, at most kLongestName bytes and
// never cut inside a character.
std::string ReadableText(std::string_view text) {
    std::string out = Utf16ToUtf8(Utf8ToUtf16(text));
    for (char& c : out)
        if (IsControl(static_cast<unsigned char>(c)))
            c = ' ';
    if (out.size() > kLongestName) {
        std::size_t end = kLongestName;
        while (end > 0 && (static_cast<unsigned char>(out[end]) & 0xC0) == 0x80)
            --end;
        out.resize(end);
    }
    return Trim(out);
}

} // namespace

std::optional<CommandEntry> WebBookmarkEntry(std::string_view title, std::string_view address,
                                             std::string_view suffix) {
    if (address.size() > kLongestAddress || !HasScheme(address))
        return std::nullopt;
    for (char c : address)
        if (IsControl(static_cast<unsigned char>(c)))
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

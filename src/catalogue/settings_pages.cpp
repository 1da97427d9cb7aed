#include "catalogue/settings_pages.h"

#include "base/text.h"

#include "settings_pages.inc"

namespace tov {

namespace {

constexpr char kFieldSeparator = '|';
constexpr char kSynonymSeparator = ',';
constexpr char kComment = '#';
constexpr std::size_t kFields = 3;

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string_view::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::string Phrase(std::string_view name) {
    return name.empty() ? std::string(kSettingsWord) : std::string(kSettingsWord) + " " + std::string(name);
}

} // namespace

std::vector<SettingsPage> ReadSettingsPages(std::string_view table) {
    std::vector<SettingsPage> pages;
    for (std::string_view line : Split(table, '\n')) {
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const std::string text = Trim(line);
        if (text.empty() || text.front() == kComment)
            continue;
        const std::vector<std::string_view> fields = Split(text, kFieldSeparator);
        if (fields.size() != kFields)
            continue;
        SettingsPage page{Trim(fields[0]), {}, Trim(fields[2])};
        for (const std::string_view synonym : Split(fields[1], kSynonymSeparator))
            if (std::string name = Trim(synonym); !name.empty())
                page.synonyms.push_back(std::move(name));
        if (!page.address.empty())
            pages.push_back(std::move(page));
    }
    return pages;
}

const std::vector<SettingsPage>& SettingsPages() {
    static const std::vector<SettingsPage> pages = ReadSettingsPages(kSettingsPagesTable);
    return pages;
}

std::vector<std::string> SettingsPhrases(const SettingsPage& page) {
    std::vector<std::string> phrases{Phrase(page.name)};
    for (const std::string& synonym : page.synonyms)
        phrases.push_back(Phrase(synonym));
    return phrases;
}

void ImportSettingsPages(Catalogue& catalogue) {
    for (const SettingsPage& page : SettingsPages())
        for (std::string& phrase : SettingsPhrases(page))
            catalogue.phrases.push_back(std::move(phrase));
    catalogue.settingsPages = true;
}

std::string SettingsPageAddress(std::string_view line) {
    if (!line.starts_with(kSettingsWord))
        return {};
    for (const SettingsPage& page : SettingsPages())
        for (const std::string& phrase : SettingsPhrases(page))
            if (phrase == line)
                return page.address;
    return {};
}

} // namespace tov

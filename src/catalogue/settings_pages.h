#pragma once
// The pages of the Windows Settings app, typed as "settings " and a page's name or another
// name for it, and opened by their "ms-settings:" addresses. The table is data
// (settings_pages.txt), built into the program.
#include "catalogue/catalogue.h"

#include <string>
#include <string_view>
#include <vector>

namespace tov {

inline constexpr std::string_view kSettingsWord = "settings";

struct SettingsPage {
    std::string name; // empty for the Settings app's home page
    std::vector<std::string> synonyms;
    std::string address;
};

// The table built into the program, read once.
const std::vector<SettingsPage>& SettingsPages();

// The pages of a table in the form of settings_pages.txt; a line that is no page is left out.
std::vector<SettingsPage> ReadSettingsPages(std::string_view table);

// The phrases of a page: "settings " and its name, and one for each other name.
std::vector<std::string> SettingsPhrases(const SettingsPage& page);

// Appends the phrases of every page to the phrase list, and marks the catalogue as offering them.
void ImportSettingsPages(Catalogue& catalogue);

// The address a command line opens when it is a settings phrase; empty when it is none.
std::string SettingsPageAddress(std::string_view line);

} // namespace tov

#pragma once
// Launches through the shell: command-table entries, web sites, web searches, the help file.
#include "catalogue/catalogue.h"
#include "platform/platform.h"

#include <string>
#include <string_view>

namespace tov {

// The working folder of a launch that names none.
inline constexpr const char* kDefaultWorkingFolder = "C:\\";
inline constexpr const char* kSearchAddress = "https://www.google.com/search?hl=en&q=";

// Opens the first command-table entry whose name equals `name`, letter case ignored, with its
// arguments and working folder. False when no entry has that name.
bool RunProgram(Platform& platform, const Catalogue& catalogue, std::string_view name);

// Opens a file or a folder with its own folder as working folder.
void OpenPath(Platform& platform, const std::string& path);

// Opens a site; "http://" goes in front unless it starts with "http://" or "https://".
void OpenWebSite(Platform& platform, std::string_view site);

// The search address for typed terms, encoded as a search form sends them: blanks as '+' (so
// that no browser splits the address at them), letters, digits and "*-._" as they are, and
// every other byte of the UTF-8 text percent-encoded.
std::string SearchAddress(std::string_view terms);
void OpenWebSearch(Platform& platform, std::string_view terms);

// Opens "help.pdf" beside the program.
void OpenHelp(Platform& platform);

} // namespace tov

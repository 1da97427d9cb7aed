#pragma once
// Launches through the shell: command-table entries, web sites, web searches, the help file.
#include "catalogue/catalogue.h"
#include "input/typing.h"
#include "platform/platform.h"

#include <string>
#include <string_view>

namespace tov {

// The working folder of a launch that names none.
inline constexpr const char* kDefaultWorkingFolder = "C:\\";
inline constexpr const char* kSearchAddress = "https://www.google.com/search?hl=en&q=";

// Hands a file to the shell as the submitting key asks: to open it, to run it as administrator,
// or to show it selected in its folder (a shortcut: the file it starts). Only a file or folder
// on a drive or share is run as administrator or shown; anything else (a web address, a shell
// name) is left alone then.
void Launch(Platform& platform, const std::string& file, const std::string& parameters,
            const std::string& workingFolder, SubmitKind kind);

// Launches the first command-table entry whose name equals `name`, letter case ignored, with
// its arguments and working folder. False when no entry has that name.
bool RunProgram(Platform& platform, const Catalogue& catalogue, std::string_view name,
                SubmitKind kind = SubmitKind::Run);

// Launches a file or a folder with its own folder as working folder.
void OpenPath(Platform& platform, const std::string& path, SubmitKind kind = SubmitKind::Run);

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

#pragma once
// The options that tell the console tool where a catalogue build reads from:
//   --program-folder D  --common-programs D  --programs D  --favorites D
//   --common-favorites D  --firefox-profiles D  --local-app-data D  --ie 0|1  --ff 0|1
//   --chromium 0|1  --apps 0|1
// On Windows every source not named by an option is the one the program itself would use
// (special folders, program folder, settings, the shell's Applications folder); elsewhere it is absent.
// Without --ie/--ff the favourites flags follow the settings on Windows, and elsewhere whether a folder for
// them was given.
#include "catalogue/build.h"
#include "commands.h"

#include <string>

namespace tov::ctl {

struct CatalogueOptions {
    CatalogueSources sources;
    Args rest; // the arguments that are no catalogue options, in order
};

// False, with a message in `error`, when an option lacks its value or a flag is not 0 or 1.
bool ParseCatalogueOptions(const Args& args, CatalogueOptions& out, std::string& error);

// Text for usage messages.
extern const char* const kCatalogueOptionsUsage;

// Builds a catalogue from the sources, without pumping messages.
Catalogue BuildCatalogueFrom(const CatalogueSources& sources);

} // namespace tov::ctl

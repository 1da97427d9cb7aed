#pragma once
// Telling the user that one of the program's files could not be saved: a balloon from the
// tray icon, once a session for each file, and the details in the log every time.
#include "platform/platform.h"

#include <set>
#include <string>

namespace tov {

struct SaveFailures {
    std::set<std::string> told; // file names the user has heard about this session
};

// The balloon's text: "Tovlen could not save customprograms.lst: access is denied."
std::string SaveFailureText(const std::string& fileName, const std::string& failure);

void ReportSaveFailure(Platform& platform, SaveFailures& failures, const std::string& fileName,
                       const std::string& failure);

} // namespace tov

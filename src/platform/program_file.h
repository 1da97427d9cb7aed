#pragma once
#include "platform/platform.h"

#include <string>

namespace tov {

// Path of a file in the program's own folder.
std::string ProgramFile(Platform& platform, const std::string& name);

} // namespace tov

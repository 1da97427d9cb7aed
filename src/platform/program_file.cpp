#include "platform/program_file.h"

#include "platform/files.h"

namespace tov {

std::string ProgramFile(Platform& platform, const std::string& name) {
    return JoinPath(platform.ProgramFolder(), name);
}

} // namespace tov

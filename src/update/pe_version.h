#pragma once
// Reads the version resource of a Windows program from its bytes, so that the version of a
// file can be learnt through a handle that is already open on it.
#include "platform/platform.h"

#include <optional>
#include <string_view>

namespace tov {

// The FileVersion of the fixed part of the program's VS_VERSION_INFO resource; nothing when
// the bytes are no PE image or carry no such resource.
std::optional<VersionNumber> PeFileVersion(std::string_view image);

} // namespace tov

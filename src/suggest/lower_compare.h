#pragma once
#include <string_view>

namespace tov {

// Whether lower-casing `text` (as LowerCase does) gives exactly `lowered`, without building
// the lower-cased copy in the usual case.
bool LowersTo(std::string_view text, std::string_view lowered);

} // namespace tov

#pragma once
// The platform on a real Windows desktop, for the code above the seam: this header brings in
// no Windows header, so the programs' entry points and tools stay free of them.
#include "platform/platform.h"

#include <memory>

namespace tov {

std::unique_ptr<Platform> MakeWin32Platform();

} // namespace tov

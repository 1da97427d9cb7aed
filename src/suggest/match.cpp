#include "suggest/match.h"

#include "app/app.h"

namespace tov {

std::string MatchCommand(App&) { return {}; }

} // namespace tov

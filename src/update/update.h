#pragma once
// The "update" command: asks the update server for the next version's installer, saves it
// beside the program, checks its signature, starts it and ends the program.
#include "input/state.h"
#include "platform/forms.h"
#include "update/exchange.h"

namespace tov {

inline constexpr const char* kUpdateFileName = "updatefile.exe";

// The time limits are the exchange's own unless given (tests use short ones).
void RunUpdate(Platform& platform, State& state, Forms& forms, const ExchangeLimits& limits = {});

// The server that the "updatehost" setting names, or the default one; nothing when the
// setting holds something that is no server.
std::optional<UpdateServer> ConfiguredUpdateServer(Platform& platform);

// The running program's minor version number: from its version resource where it has
// one, otherwise the number it was built with.
std::uint16_t ProgramMinorVersion(Platform& platform);

} // namespace tov

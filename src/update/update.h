#pragma once
// The "update" command: asks the update server for the next version's installer, keeps it
// where only the user can write, checks its publisher and version, starts it and ends the program.
#include "input/state.h"
#include "platform/forms.h"
#include "update/exchange.h"
#include "update/update_trust.h"

namespace tov {

namespace frmUpdate {
inline constexpr const char* kFormName = "frmUpdate";
inline constexpr ControlName lblStatus{"lblStatus"};
} // namespace frmUpdate

// The name under which tools save a downloaded installer.
inline constexpr const char* kUpdateFileName = "updatefile.exe";

void RunUpdate(Platform& platform, State& state, Forms& forms);
// The same with other time limits and signers (tests use their own).
void RunUpdate(Platform& platform, State& state, Forms& forms, const ExchangeLimits& limits,
               const SignerList& signers);

// The server that the "updatehost" setting names, or the default one; nothing when the
// setting holds something that is no server.
std::optional<UpdateServer> ConfiguredUpdateServer(Platform& platform);

// The running program's version: from its version resource where it has one, otherwise the
// version it was built as.
VersionNumber RunningVersion(Platform& platform);

// The running program's minor version number: from its version resource where it has
// one, otherwise the number it was built with.
std::uint16_t ProgramMinorVersion(Platform& platform);

} // namespace tov

#pragma once
// The "Key Mapping" frame: "Change" asks for the next key press as the activation key,
// "Reset to Caps Lock" goes back to Caps Lock.
#include "input/state.h"
#include "platform/forms.h"

namespace tov {

namespace frmRemap {
inline constexpr const char* kFormName = "frmRemap";
inline constexpr ControlName lblRemap{"lblRemap"};
} // namespace frmRemap

inline constexpr Colour kRemapBackColour = Rgb(128, 128, 255);

// The borderless prompt shown while a key is awaited, centred in the monitor's work area.
Form MakeRemapForm(Platform& platform, const Monitor& monitor);

// Shows frmRemap and runs the messages until the keyboard hook has taken the next key press
// (or the program is ending); then shows the new key's name.
void cmdRemap_Click(Platform& platform, State& state, Forms& forms);
void cmdKeyMapReset_Click(Platform& platform, State& state, Forms& forms);

} // namespace tov

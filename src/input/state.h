#pragma once
// The process-wide values, in one place. One thread owns them all: the hooks, the window
// handlers and the main loop run on it, so nothing here is locked. They live with the hooks,
// the lowest code that changes them; the layers above read them and the windows below
// them are handed the few values they show.
#include "platform/types.h"

#include <cstdint>
#include <string>

namespace tov {

constexpr std::int16_t kDefaultActivationKey = static_cast<std::int16_t>(KeyCode(VirtualKey::CapsLock));
constexpr std::int16_t kDefaultSuggestionCount = 10;
constexpr std::int16_t kDefaultTransparency = 230;

struct State {
    std::string CommandText; // always lower case; empty while the window is closed
    bool WindowOpen = false;
    std::int16_t ActivationKey = kDefaultActivationKey;
    bool CapturingKey = false;
    bool SubmitRequested = false;
    WindowHandle PreviousWindow = 0;
    std::int16_t SelectedIndex = 0;
    std::int16_t SuggestionCount = kDefaultSuggestionCount;
    std::int16_t Transparency = kDefaultTransparency;
    std::int16_t CheckBeforeShutdown = 1;
    std::int16_t ShowIEFavorites = 1;
    std::int16_t ShowFFFavorites = 0;
    std::int16_t ShowChromiumBookmarks = 1;
    std::int16_t ShowApps = 1;
    std::string FirefoxProfilesDir;
    bool Running = false;
    bool KeyboardHookHandle = false; // the platform holds the real handles; these say whether they are set
    bool MouseHookHandle = false;

    // Work the hooks leave to the main loop. The hook decides and records; the loop acts.
    std::string PendingSubmit;         // the command line frozen at Enter or the activation key
    std::int16_t PendingSelection = 0; // SelectedIndex at that moment
    unsigned OpenGeneration = 0;       // bumped at each opening, so the loop re-creates frmMain
    unsigned ShownGeneration = 0;      // the opening that the command window on screen belongs to
    bool DisplayDirty = false;         // the command line or selection changed since the last redraw
    bool CaptureCompleted = false;     // a key was captured as the activation key; the loop saves it

    // How deep the custom commands being carried out are nested right now.
    int CustomCommandDepth = 0;

    // The command line as the hooks last left it. A submit rewrites the values above while it
    // runs, and the message boxes inside it let the hooks run: when they changed anything
    // meanwhile, what the user did last is what the window shows afterwards.
    unsigned HookChanges = 0;
    bool HookWindowOpen = false;
    std::string HookCommandText;
    std::int16_t HookSelection = 0;
};

} // namespace tov

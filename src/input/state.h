#pragma once
// The process-wide values, in one place. They live with the hooks, the lowest code that
// changes them; the layers above read them and the windows below them are handed the few
// values they show. Which thread owns which is written in input/typing.h: `Input` is the input
// thread's, the rest the main thread's, so nothing here is locked.
#include "input/hook_watchdog.h"
#include "input/typing.h"
#include "platform/types.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

namespace tov {

constexpr std::int16_t kDefaultTransparency = 230;
// The setting that turns near matches off ("0") and on.
inline constexpr const char* kNearMatchesSetting = "nearmatches";
// The setting that leaves the Settings app's pages out of the catalogue ("0").
inline constexpr const char* kSettingsPagesSetting = "showsettings";

struct State {
    // The command line as the main thread shows it, following the input thread's news.
    std::string CommandText;           // always lower case; empty while the window is closed
    std::vector<TypedKey> CommandKeys; // the keys that typed it, as the input thread kept them
    bool WindowOpen = false;
    std::int16_t ActivationKey = kDefaultActivationKey;
    bool CapturingKey = false;
    WindowHandle PreviousWindow = 0;
    std::int16_t SelectedIndex = 0;
    std::int16_t SuggestionCount = kDefaultSuggestionCount;
    std::int16_t Transparency = kDefaultTransparency;
    std::int16_t CheckBeforeShutdown = 1;
    std::int16_t ShowIEFavorites = 1;
    std::int16_t ShowFFFavorites = 0;
    std::int16_t ShowChromiumBookmarks = 1;
    std::int16_t ShowApps = 1;
    std::int16_t ShowSettingsPages = 1;
    std::int16_t NearMatches = 1; // also suggest phrases that match the typed text near
    std::string FirefoxProfilesDir;
    bool Running = false;
    bool HooksRunning = false; // the input thread runs with its hooks in place
    bool InputStarted = false; // the input thread was started and has not been ended
    bool InputStuck = false;   // the input thread did not end in time: what it holds stays alive
    HookWatchdog Watchdog;

    // Work the hooks leave to the main loop. The hook decides and posts; the loop acts.
    TypingNews Latest;              // the input thread's latest news
    bool NewsWaiting = false;       // Latest is not yet shown
    std::deque<FrozenLine> Submits; // oldest first
    unsigned OpenGeneration = 0;    // the opening the command line belongs to
    unsigned ShownGeneration = 0;   // the opening that the command window on screen belongs to
    bool DisplayDirty = false;      // the command line or selection changed since the last redraw
    bool CaptureCompleted = false;  // a key was captured as the activation key; the loop saves it
    std::string LatencyFile;        // where the latency summary goes at exit; empty: nothing measured
    std::vector<std::chrono::steady_clock::time_point> KeysWaiting; // hook entries not yet repainted
    std::vector<Duration> KeyTimes; // from a hook's entry to the repaint it caused, while measuring

    // How deep the custom commands being carried out are nested right now.
    int CustomCommandDepth = 0;

    // The input thread's own, and what it has told the main thread; see input/typing.h.
    std::shared_ptr<Typing> Input = std::make_shared<Typing>();
    std::shared_ptr<NewsMailbox> News = std::make_shared<NewsMailbox>();
};

} // namespace tov

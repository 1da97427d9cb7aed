#pragma once
// The command line as the input thread holds it, and what passes between that thread and the
// main thread.
//
// OWNERSHIP
// - The input thread owns `Typing`: whether the window is open, the typed line, the
//   selection, the activation key, capture mode, enabled or disabled, and the two values of
//   the main thread's world that the hooks decide by (the suggestion count, the suggestion
//   window). Only the hook procedures and work posted with Platform::PostToInput touch it.
//   Before the input thread starts and after it has ended, the main thread may.
// - The main thread owns the rest of State (input/state.h), the forms and everything above.
//   It hears of the input thread's changes only through `TypingNews` posted to it, and tells
//   the input thread what it decided only through the Tell* functions of input/keyboard.h,
//   which post. Its WindowOpen, CommandText and SelectedIndex follow the news; where the two
//   differ, the input thread's view is the truth and the window follows it.
// - Neither thread waits for the other: a hook decides from `Typing`, posts the news and
//   returns; no lock is held while work runs.
#include "platform/types.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tov {

constexpr std::int16_t kDefaultActivationKey = static_cast<std::int16_t>(KeyCode(VirtualKey::CapsLock));
constexpr std::int16_t kDefaultSuggestionCount = 10;
// A command line is a few words; keys past this are swallowed and dropped, so that a stuck
// key cannot grow what every key copies to the main thread.
constexpr std::size_t kMaxCommandBytes = 1024;
// The hook's own times kept for the latency summary; room for them is made before the thread
// starts, so that the hook never allocates for them.
constexpr std::size_t kMaxHookTimes = 100000;

using Duration = std::chrono::steady_clock::duration;

// What the key that submitted a line asks of its command: to run it (Enter, the activation
// key), to open the folder that holds its file (Ctrl+Enter), or to run it as administrator
// (Ctrl+Shift+Enter).
enum class SubmitKind { Run, OpenFolder, RunAsAdministrator };

// A command line frozen by Enter or the activation key, waiting for the main loop to run it.
struct FrozenLine {
    std::string text;
    std::int16_t selection = 0;
    WindowHandle previousWindow = 0;
    unsigned change = 0; // the input thread's change that froze it
    SubmitKind kind = SubmitKind::Run;
};

struct Typing {
    bool windowOpen = false;
    std::string commandText; // lower case; empty while the window is closed
    std::int16_t selectedIndex = 0;
    WindowHandle previousWindow = 0; // in front when the window opened
    std::int16_t activationKey = kDefaultActivationKey;
    bool capturingKey = false;
    bool enabled = true;
    std::int16_t suggestionCount = kDefaultSuggestionCount;
    WindowHandle suggestionWindow = 0;
    unsigned changes = 0;  // how many changes were told to the main thread
    unsigned openings = 0; // how many times the window was opened
    bool measuring = false;
    std::vector<Duration> hookTimes; // from a hook's entry to its answer, while measuring
};

// One change of the input thread's command line, as the main thread hears it.
struct TypingNews {
    unsigned change = 0; // Typing::changes after it
    bool windowOpen = false;
    std::string commandText;
    std::int16_t selectedIndex = 0;
    unsigned opening = 0;
    WindowHandle previousWindow = 0;
    std::optional<FrozenLine> frozen;              // Enter or the activation key ended the line, to be run
    std::optional<std::int16_t> capturedKey;       // the new activation key
    std::chrono::steady_clock::time_point keyAt{}; // when the hook began on the key
};

// How a hook procedure hands its news to the main thread: it posts and returns.
using NewsSink = std::function<void(TypingNews)>;

// Counts a change of `typing` and makes the news of it.
TypingNews NewsOf(Typing& typing, std::chrono::steady_clock::time_point keyAt = {});

} // namespace tov

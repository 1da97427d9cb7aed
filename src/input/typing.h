#pragma once
// The command line as the input thread holds it, and what passes between that thread and the
// main thread.
//
// OWNERSHIP
// - The input thread owns `Typing`: whether the window is open, the typed line, the
//   selection, the activation key, capture mode, enabled or disabled, the keys held down, and
//   the two values of the main thread's world that the hooks decide by (the suggestion count,
//   the suggestion window). Only the hook procedures and work posted with Platform::PostToInput
//   touch it. Before the input thread starts and after it has ended, the main thread may. State
//   holds it by a shared pointer that the hooks hold too, so an input thread that did not end
//   in time never reads freed memory.
// - The main thread owns the rest of State (input/state.h), the forms and everything above.
//   It hears of the input thread's changes only through the `TypingNews` of a `NewsMailbox`,
//   and tells the input thread what it decided only through the Tell* functions of
//   input/hooks.h, which post. Its WindowOpen, CommandText and SelectedIndex follow the news;
//   where the two differ, the input thread's view is the truth and the window follows it.
// - Neither thread waits for the other: a hook decides from `Typing`, leaves the news in the
//   mailbox and returns; the mailbox's lock is held only to put news in or take it out.
// - Of the platform, the input thread calls only ForegroundWindow (the window in front when
//   the line opens), TranslateKey, HeldModifiers (what Enter asks), TopLevelWindowAt (the
//   window under a click) and PostToMain.
//   Everything else of the platform is the main thread's (and the few calls that
//   Platform::RunInBackground names, its workers').
#include "input/held_keys.h"
#include "platform/types.h"
#include "suggest/typed_keys.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
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
    std::vector<TypedKey> keys;
    std::int16_t selection = 0;
    WindowHandle previousWindow = 0;
    unsigned change = 0; // the input thread's change that froze it
    SubmitKind kind = SubmitKind::Run;
};

struct Typing {
    bool windowOpen = false;
    std::string commandText; // lower case; empty while the window is closed
    // The keys that typed it, one for each key that gave characters: as bounded as the text
    // (a key past kMaxCommandBytes is not kept) and dropped with it. Like the text, never logged.
    std::vector<TypedKey> commandKeys;
    std::int16_t selectedIndex = 0;
    WindowHandle previousWindow = 0; // in front when the window opened
    std::int16_t activationKey = kDefaultActivationKey;
    bool capturingKey = false;
    bool enabled = true;
    std::int16_t suggestionCount = kDefaultSuggestionCount;
    WindowHandle suggestionWindow = 0;
    unsigned changes = 0;  // how many changes were told to the main thread
    unsigned openings = 0; // how many times the window was opened
    HeldKeys keys;
    bool measuring = false;
    std::vector<Duration> hookTimes; // from a hook's entry to its answer, while measuring
};

// One change of the input thread's command line, as the main thread hears it.
struct TypingNews {
    unsigned change = 0; // Typing::changes after it
    bool windowOpen = false;
    std::string commandText;
    std::vector<TypedKey> commandKeys;
    std::int16_t selectedIndex = 0;
    unsigned opening = 0;
    WindowHandle previousWindow = 0;
    std::optional<FrozenLine> frozen;        // Enter or the activation key ended the line, to be run
    std::optional<std::int16_t> capturedKey; // the new activation key
    // When the hook began on each key this news tells of, while keys are measured.
    std::vector<std::chrono::steady_clock::time_point> keysAt;
};

// How a hook procedure hands its news to the main thread: it posts and returns.
using NewsSink = std::function<void(TypingNews)>;

// Empties the command line and the keys that typed it.
void ClearCommandText(Typing& typing);

// Counts a change of `typing` and makes the news of it; `keyAt` when the key is measured.
TypingNews NewsOf(Typing& typing, std::chrono::steady_clock::time_point keyAt = {});

// The news the main thread has not taken yet. Lines frozen meanwhile, and captured keys, wait
// in order; of the rest only the latest counts, so that what waits does not grow with typing
// however long the main thread is busy.
class NewsMailbox {
  public:
    // Input thread: true when the news is the first since the main thread last took them, and
    // the main thread is to be told.
    bool Put(TypingNews news);
    // Main thread: everything waiting, oldest first.
    std::vector<TypingNews> Take();

  private:
    std::mutex lock_;
    std::vector<TypingNews> waiting_;
    bool told_ = false;
};

} // namespace tov

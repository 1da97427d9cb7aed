#pragma once
// The main thread's side of the input thread: starting and ending it, hearing its news and
// telling it what the main thread decided. Who owns what is written in input/typing.h.
#include "input/state.h"
#include "platform/forms.h"
#include "platform/platform.h"

namespace tov {

// Starts the input thread with both hooks, handing it the activation key, the suggestion
// count and the suggestion window as the main thread has them now, and the watchdog that
// installs them again when Windows drops them; ends both (only then may the main thread read
// what the input thread measured). Both are logged.
void InstallHooks(Platform& platform, State& state, const Forms& forms);
void RemoveHooks(Platform& platform, State& state);

// Main thread: a change of the input thread arrives. A frozen line joins the submits at once;
// the rest waits in Latest until TakeLatestNews.
void HearNews(Platform& platform, State& state, TypingNews news);
// Main thread: the command line it shows becomes the input thread's latest; false when no
// news was waiting.
bool TakeLatestNews(State& state);

// The main thread's decisions, posted to the input thread.
void TellActivationKey(Platform& platform, State& state);   // State::ActivationKey
void TellCapture(Platform& platform, State& state);         // State::CapturingKey
void TellSuggestionCount(Platform& platform, State& state); // State::SuggestionCount
void TellSuggestionWindow(Platform& platform, State& state, WindowHandle window);
void TellEnabled(Platform& platform, State& state, bool enabled);
// A command run from the line frozen as change `change` showed a message in the command
// window: the line is open again, unless the user has acted since.
void TellKeptOpen(Platform& platform, State& state, unsigned change);
// Opens the command line as the activation key does, for a later start of the program; does
// nothing while it is open, a key is being captured or the hooks are disabled.
void OpenCommandLine(Platform& platform, State& state);

} // namespace tov

#include "input/hooks.h"

#include "input/keyboard.h"
#include "input/mouse.h"

namespace tov {

namespace {

using Clock = std::chrono::steady_clock;

// The input thread leaves its news in the mailbox, and tells the main thread only of the
// first news since the main thread last took them.
NewsSink SinkOf(Platform& platform, State& state) {
    return [&platform, &state, mailbox = state.News](TypingNews news) {
        if (!mailbox->Put(std::move(news)))
            return;
        platform.PostToMain([&platform, &state, mailbox] {
            for (TypingNews& waiting : mailbox->Take())
                HearNews(platform, state, std::move(waiting));
        });
    };
}

void CloseLine(Typing& t) {
    t.windowOpen = false;
    ClearCommandText(t);
}

} // namespace

void InstallHooks(Platform& platform, State& state, const Forms& forms) {
    const std::shared_ptr<Typing> typing = state.Input;
    Typing& t = *typing;
    t.activationKey = state.ActivationKey;
    t.suggestionCount = state.SuggestionCount;
    t.capturingKey = state.CapturingKey;
    t.suggestionWindow = forms.frmCommandSuggestion ? forms.frmCommandSuggestion->handle : 0;
    t.measuring = !state.LatencyFile.empty();
    if (t.measuring)
        t.hookTimes.reserve(kMaxHookTimes);
    const NewsSink tell = SinkOf(platform, state);
    InputHandlers handlers;
    handlers.keys = [&platform, typing, tell](const KeyEvent& e) {
        Typing& t = *typing;
        const HookDecision decision = KeyboardProc(platform, t, e, tell);
        if (t.measuring && t.hookTimes.size() < kMaxHookTimes)
            t.hookTimes.push_back(Clock::now() - e.at);
        return decision;
    };
    handlers.mouse = [&platform, typing, tell](const MouseEvent& e) {
        return MouseProc(platform, *typing, e, tell);
    };
    handlers.mouseWanted = [typing] { return MouseHookWanted(*typing); };
    state.InputStarted = true;
    state.HooksRunning = platform.StartInput(std::move(handlers));
    if (!state.HooksRunning)
        platform.Log("The hooks could not be installed");
    state.Watchdog.activationKey = [&state] {
        return static_cast<std::uint32_t>(static_cast<std::uint16_t>(state.ActivationKey));
    };
    StartHookWatchdog(platform, state.Watchdog);
}

void RemoveHooks(Platform& platform, State& state) {
    StopHookWatchdog(platform, state.Watchdog);
    if (state.InputStarted && !platform.StopInput())
        state.InputStuck = true;
    state.InputStarted = false;
    state.HooksRunning = false;
}

void HearNews(Platform& platform, State& state, TypingNews news) {
    if (news.capturedKey) {
        state.ActivationKey = *news.capturedKey;
        state.CapturingKey = false;
        state.CaptureCompleted = true;
    }
    if (news.frozen)
        state.Submits.push_back(std::move(*news.frozen));
    if (!state.LatencyFile.empty())
        for (const Clock::time_point keyAt : news.keysAt)
            if (state.KeysWaiting.size() < kMaxHookTimes)
                state.KeysWaiting.push_back(keyAt);
    news.frozen.reset();
    news.keysAt.clear();
    state.Latest = std::move(news);
    state.NewsWaiting = true;
    platform.RequestWake();
}

bool TakeLatestNews(State& state) {
    if (!state.NewsWaiting)
        return false;
    state.NewsWaiting = false;
    const TypingNews& news = state.Latest;
    state.WindowOpen = news.windowOpen;
    state.CommandText = news.commandText;
    state.CommandKeys = news.commandKeys;
    state.SelectedIndex = news.selectedIndex;
    state.PreviousWindow = news.previousWindow;
    state.OpenGeneration = news.opening;
    state.DisplayDirty = true;
    return true;
}

void TellActivationKey(Platform& platform, State& state) {
    platform.PostToInput([typing = state.Input, key = state.ActivationKey] { typing->activationKey = key; });
}

void TellCapture(Platform& platform, State& state) {
    platform.PostToInput(
        [typing = state.Input, capturing = state.CapturingKey] { typing->capturingKey = capturing; });
}

void TellSuggestionCount(Platform& platform, State& state) {
    platform.PostToInput(
        [typing = state.Input, count = state.SuggestionCount] { typing->suggestionCount = count; });
}

void TellSuggestionWindow(Platform& platform, State& state, WindowHandle window) {
    platform.PostToInput([typing = state.Input, window] { typing->suggestionWindow = window; });
}

void TellEnabled(Platform& platform, State& state, bool enabled) {
    platform.PostToInput([typing = state.Input, enabled, tell = SinkOf(platform, state)] {
        Typing& t = *typing;
        t.enabled = enabled;
        // A capture under way goes on: the remap window waits for its key, disabled or not.
        if (!enabled && (t.windowOpen || !t.commandText.empty())) {
            CloseLine(t);
            tell(NewsOf(t));
        }
    });
}

void TellKeptOpen(Platform& platform, State& state, unsigned change) {
    platform.PostToInput([typing = state.Input, change] {
        Typing& t = *typing;
        // What the user did since stands. The main thread already shows the message it kept
        // the window open for, so no news goes back.
        if (t.changes != change)
            return;
        t.windowOpen = true;
        ClearCommandText(t);
        t.selectedIndex = 0;
        ++t.changes;
    });
}

void OpenCommandLine(Platform& platform, State& state) {
    platform.PostToInput([&platform, typing = state.Input, tell = SinkOf(platform, state)] {
        Typing& t = *typing;
        if (!t.enabled || t.windowOpen || t.capturingKey)
            return;
        OpenLine(platform, t);
        tell(NewsOf(t));
    });
}

} // namespace tov

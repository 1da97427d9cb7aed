#include "input/hooks.h"

#include "input/keyboard.h"
#include "input/mouse.h"

namespace tov {

namespace {

using Clock = std::chrono::steady_clock;

NewsSink SinkOf(Platform& platform, State& state) {
    return [&platform, &state](TypingNews news) {
        platform.PostToMain([&platform, &state, news = std::move(news)] { HearNews(platform, state, news); });
    };
}

void CloseLine(Typing& t) {
    t.windowOpen = false;
    t.commandText.clear();
    t.capturingKey = false;
}

} // namespace

void InstallHooks(Platform& platform, State& state, const Forms& forms) {
    Typing& t = state.Input;
    t.activationKey = state.ActivationKey;
    t.suggestionCount = state.SuggestionCount;
    t.capturingKey = state.CapturingKey;
    t.suggestionWindow = forms.frmCommandSuggestion ? forms.frmCommandSuggestion->handle : 0;
    t.measuring = !state.LatencyFile.empty();
    if (t.measuring)
        t.hookTimes.reserve(kMaxHookTimes);
    const NewsSink tell = SinkOf(platform, state);
    InputHandlers handlers;
    handlers.keys = [&platform, &t, tell](const KeyEvent& e) {
        const HookDecision decision = KeyboardProc(platform, t, e, tell);
        if (t.measuring && t.hookTimes.size() < kMaxHookTimes)
            t.hookTimes.push_back(Clock::now() - e.at);
        return decision;
    };
    handlers.mouse = [&platform, &t, tell](const MouseEvent& e) { return MouseProc(platform, t, e, tell); };
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
    platform.StopInput();
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
    if (!state.LatencyFile.empty() && news.keyAt != Clock::time_point{} &&
        state.KeysWaiting.size() < kMaxHookTimes)
        state.KeysWaiting.push_back(news.keyAt);
    news.frozen.reset();
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
    state.SelectedIndex = news.selectedIndex;
    state.PreviousWindow = news.previousWindow;
    state.OpenGeneration = news.opening;
    state.DisplayDirty = true;
    return true;
}

void TellActivationKey(Platform& platform, State& state) {
    platform.PostToInput([&t = state.Input, key = state.ActivationKey] { t.activationKey = key; });
}

void TellCapture(Platform& platform, State& state) {
    platform.PostToInput([&t = state.Input, capturing = state.CapturingKey] { t.capturingKey = capturing; });
}

void TellSuggestionCount(Platform& platform, State& state) {
    platform.PostToInput([&t = state.Input, count = state.SuggestionCount] { t.suggestionCount = count; });
}

void TellSuggestionWindow(Platform& platform, State& state, WindowHandle window) {
    platform.PostToInput([&t = state.Input, window] { t.suggestionWindow = window; });
}

void TellEnabled(Platform& platform, State& state, bool enabled) {
    platform.PostToInput([&t = state.Input, enabled, tell = SinkOf(platform, state)] {
        t.enabled = enabled;
        if (!enabled && (t.windowOpen || !t.commandText.empty() || t.capturingKey)) {
            CloseLine(t);
            tell(NewsOf(t));
        }
    });
}

void TellKeptOpen(Platform& platform, State& state, unsigned change) {
    platform.PostToInput([&t = state.Input, change] {
        // What the user did since stands. The main thread already shows the message it kept
        // the window open for, so no news goes back.
        if (t.changes != change)
            return;
        t.windowOpen = true;
        t.commandText.clear();
        t.selectedIndex = 0;
        ++t.changes;
    });
}

void OpenCommandLine(Platform& platform, State& state) {
    platform.PostToInput([&platform, &t = state.Input, tell = SinkOf(platform, state)] {
        if (!t.enabled || t.windowOpen || t.capturingKey)
            return;
        OpenLine(platform, t);
        tell(NewsOf(t));
    });
}

} // namespace tov

#include "input/keyboard.h"

#include "input/mouse.h"
#include "platform/text.h"

namespace tov {

namespace {

bool IsPassThroughKey(std::uint32_t vkCode) {
    switch (static_cast<VirtualKey>(vkCode)) {
    case VirtualKey::PrintScreen:
    case VirtualKey::LeftShift:
    case VirtualKey::RightShift:
    case VirtualKey::LeftControl:
    case VirtualKey::RightControl:
        return true;
    default:
        return false;
    }
}

void RemoveLastCharacter(std::string& text) {
    if (text.empty())
        return;
    std::size_t cut = text.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    text.erase(cut);
}

// Control characters (Ctrl+letter, Tab) would only make an invisible, untypable command line.
std::string Printable(const std::string& utf8) {
    std::string out;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
            out += c;
    return out;
}

// Enter and a second press of the activation key both end the typing at once, so that keys
// that follow before the main loop gets to the submit go to the desktop, not into this line.
void FreezeForSubmit(State& s) {
    s.PendingSubmit = s.CommandText;
    s.PendingSelection = s.SelectedIndex;
    s.SubmitRequested = true;
    s.WindowOpen = false;
    s.CommandText.clear();
}

void Open(Platform& platform, State& s) {
    s.SelectedIndex = 0;
    s.PreviousWindow = platform.ForegroundWindow();
    s.CommandText.clear();
    s.WindowOpen = true;
    ++s.OpenGeneration;
}

} // namespace

HookDecision KeyboardProc(Platform& platform, State& s, const KeyEvent& event) {
    const bool keyDown = event.message == KeyMessage::KeyDown;
    const bool anyDown = keyDown || event.message == KeyMessage::SysKeyDown;

    if (s.CapturingKey) {
        // Only a key press can be the new key: the release of the key or click that started
        // the capture must not be taken for it.
        if (!anyDown)
            return HookDecision::Pass;
        s.ActivationKey = static_cast<std::int16_t>(event.vkCode);
        s.CapturingKey = false;
        s.CaptureCompleted = true;
        platform.RequestWake();
        return HookDecision::Swallow;
    }
    if (!keyDown)
        return HookDecision::Pass;

    HookDecision result = HookDecision::Pass;
    bool changed = false;
    if (event.vkCode == static_cast<std::uint32_t>(static_cast<std::uint16_t>(s.ActivationKey))) {
        result = HookDecision::Swallow;
        if (s.WindowOpen)
            FreezeForSubmit(s);
        else
            Open(platform, s);
        changed = true;
    } else if (s.WindowOpen && event.vkCode != VirtualKey::CapsLock) {
        result = HookDecision::Swallow;
        changed = true;
        switch (static_cast<VirtualKey>(event.vkCode)) {
        case VirtualKey::Escape:
            s.WindowOpen = false;
            s.CommandText.clear();
            break;
        case VirtualKey::Up:
            if (s.SelectedIndex > 0)
                --s.SelectedIndex;
            break;
        case VirtualKey::Down:
            if (s.SelectedIndex < s.SuggestionCount - 1)
                ++s.SelectedIndex;
            else if (s.SuggestionCount <= 0)
                s.SelectedIndex = static_cast<std::int16_t>(s.SuggestionCount - 1);
            break;
        case VirtualKey::Backspace:
            RemoveLastCharacter(s.CommandText);
            break;
        case VirtualKey::Enter:
            FreezeForSubmit(s);
            break;
        default:
            if (IsPassThroughKey(event.vkCode)) {
                result = HookDecision::Pass;
                changed = false;
            } else {
                s.CommandText += LowerCase(Printable(platform.TranslateKey(event)));
            }
        }
    }
    if (changed) {
        s.DisplayDirty = true;
        RecordHookChange(s);
        platform.RequestWake();
    }
    return result;
}

void RecordHookChange(State& s) {
    ++s.HookChanges;
    s.HookWindowOpen = s.WindowOpen;
    s.HookCommandText = s.CommandText;
    s.HookSelection = s.SelectedIndex;
}

void OpenCommandLine(Platform& platform, State& s) {
    if (s.WindowOpen || s.CapturingKey)
        return;
    Open(platform, s);
    s.DisplayDirty = true;
    RecordHookChange(s);
    platform.RequestWake();
}

void InstallHooks(Platform& platform, State& state, const Forms& forms) {
    state.KeyboardHookHandle = platform.InstallKeyboardHook(
        [&platform, &state](const KeyEvent& e) { return KeyboardProc(platform, state, e); });
    state.MouseHookHandle = platform.InstallMouseHook(
        [&platform, &state, &forms](const MouseEvent& e) { return MouseProc(platform, state, forms, e); });
    if (!state.KeyboardHookHandle)
        platform.Log("The keyboard hook could not be installed");
    if (!state.MouseHookHandle)
        platform.Log("The mouse hook could not be installed");
    if (state.KeyboardHookHandle && state.MouseHookHandle)
        platform.Log("Hooks installed");
}

void RemoveHooks(Platform& platform, State& state) {
    platform.RemoveKeyboardHook();
    platform.RemoveMouseHook();
    state.KeyboardHookHandle = false;
    state.MouseHookHandle = false;
    platform.Log("Hooks removed");
}

} // namespace tov

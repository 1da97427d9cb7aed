#include "input/keyboard.h"

#include "base/text.h"
#include "input/held_keys.h"

#include <algorithm>
#include <cstdint>

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

void RemoveLastCharacter(Typing& t) {
    std::string& text = t.commandText;
    if (text.empty())
        return;
    text.erase(CharacterStart(text, text.size() - 1));
    if (!t.commandKeys.empty() && --t.commandKeys.back().characters == 0)
        t.commandKeys.pop_back();
}

// Control characters (Ctrl+letter, Tab) would only make an invisible, untypable command line.
std::string Printable(const std::string& utf8) {
    std::string out;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
            out += c;
    return out;
}

std::uint8_t KeyCharacters(const std::string& utf8) {
    return static_cast<std::uint8_t>(std::clamp<std::size_t>(CharacterCount(utf8), 1, UINT8_MAX));
}

void Append(Typing& t, std::uint32_t vkCode, const std::string& typed) {
    if (typed.empty() || t.commandText.size() + typed.size() > kMaxCommandBytes)
        return;
    t.commandText += typed;
    t.commandKeys.push_back({static_cast<std::uint8_t>(vkCode), KeyCharacters(typed)});
}

// Enter and a second press of the activation key both end the typing at once, so that keys
// that follow before the main loop gets to the submit go to the desktop, not into this line.
std::optional<FrozenLine> Freeze(Typing& t) {
    FrozenLine line{t.commandText, t.commandKeys, t.selectedIndex, t.previousWindow, t.changes + 1};
    t.windowOpen = false;
    ClearCommandText(t);
    return line;
}

// Ctrl and Ctrl+Shift make Enter ask more of the line; Shift alone, or with Alt, asks nothing new.
SubmitKind KindOfEnter(ModifierKeys held) {
    if (!HasFlag(held, ModifierKeys::Control) || HasFlag(held, ModifierKeys::Alt))
        return SubmitKind::Run;
    return HasFlag(held, ModifierKeys::Shift) ? SubmitKind::RunAsAdministrator : SubmitKind::OpenFolder;
}

HookDecision DecidePress(Platform& platform, Typing& t, const KeyEvent& event, const NewsSink& tell) {
    const auto keyAt = t.measuring ? event.at : std::chrono::steady_clock::time_point{};
    // The capture comes first: the remap window waits for this key even while Tovlen is
    // disabled. Only a key press can be the new key: the release of the key or click that
    // started the capture, or a repeat of a key held since before it, must not be taken for it.
    if (t.capturingKey) {
        t.activationKey = static_cast<std::int16_t>(event.vkCode);
        t.capturingKey = false;
        TypingNews news = NewsOf(t, keyAt);
        news.capturedKey = t.activationKey;
        tell(std::move(news));
        return HookDecision::Swallow;
    }
    if (!t.enabled || event.message != KeyMessage::KeyDown)
        return HookDecision::Pass;

    HookDecision result = HookDecision::Pass;
    bool changed = false;
    std::optional<FrozenLine> frozen;
    if (event.vkCode == static_cast<std::uint32_t>(static_cast<std::uint16_t>(t.activationKey))) {
        result = HookDecision::Swallow;
        if (t.windowOpen)
            frozen = Freeze(t);
        else
            OpenLine(platform, t);
        changed = true;
    } else if (t.windowOpen && event.vkCode != VirtualKey::CapsLock) {
        result = HookDecision::Swallow;
        changed = true;
        switch (static_cast<VirtualKey>(event.vkCode)) {
        case VirtualKey::Escape:
            t.windowOpen = false;
            ClearCommandText(t);
            break;
        case VirtualKey::Up:
            if (t.selectedIndex > 0)
                --t.selectedIndex;
            break;
        case VirtualKey::Down:
            if (t.selectedIndex < t.suggestionCount - 1)
                ++t.selectedIndex;
            else if (t.suggestionCount <= 0)
                t.selectedIndex = static_cast<std::int16_t>(t.suggestionCount - 1);
            break;
        case VirtualKey::Backspace:
            RemoveLastCharacter(t);
            break;
        case VirtualKey::Enter:
            frozen = Freeze(t);
            frozen->kind = KindOfEnter(platform.HeldModifiers());
            break;
        default:
            if (IsPassThroughKey(event.vkCode)) {
                result = HookDecision::Pass;
                changed = false;
            } else {
                Append(t, event.vkCode, LowerCase(Printable(platform.TranslateKey(event))));
            }
        }
    }
    if (changed) {
        TypingNews news = NewsOf(t, keyAt);
        news.frozen = std::move(frozen);
        tell(std::move(news));
    }
    return result;
}

} // namespace

void OpenLine(Platform& platform, Typing& t) {
    t.selectedIndex = 0;
    t.previousWindow = platform.ForegroundWindow();
    ClearCommandText(t);
    t.windowOpen = true;
    ++t.openings;
}

HookDecision KeyboardProc(Platform& platform, Typing& t, const KeyEvent& event, const NewsSink& tell) {
    const KeyStroke stroke = NoteKeyEvent(t.keys, event);
    if (stroke != KeyStroke::Press)
        return SwallowedKey(t.keys, event.vkCode, stroke) ? HookDecision::Swallow : HookDecision::Pass;
    const HookDecision decision = DecidePress(platform, t, event, tell);
    if (decision == HookDecision::Swallow)
        KeepUntilReleased(t.keys, event.vkCode);
    return decision;
}

} // namespace tov

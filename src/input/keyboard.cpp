#include "input/keyboard.h"

#include "base/text.h"

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

void Append(std::string& text, const std::string& typed) {
    if (text.size() + typed.size() <= kMaxCommandBytes)
        text += typed;
}

// Enter and a second press of the activation key both end the typing at once, so that keys
// that follow before the main loop gets to the submit go to the desktop, not into this line.
std::optional<FrozenLine> Freeze(Typing& t) {
    FrozenLine line{t.commandText, t.selectedIndex, t.previousWindow, t.changes + 1};
    t.windowOpen = false;
    t.commandText.clear();
    return line;
}

// Ctrl and Ctrl+Shift make Enter ask more of the line; Shift alone, or with Alt, asks nothing new.
SubmitKind KindOfEnter(ModifierKeys held) {
    if (!HasFlag(held, ModifierKeys::Control) || HasFlag(held, ModifierKeys::Alt))
        return SubmitKind::Run;
    return HasFlag(held, ModifierKeys::Shift) ? SubmitKind::RunAsAdministrator : SubmitKind::OpenFolder;
}

} // namespace

void OpenLine(Platform& platform, Typing& t) {
    t.selectedIndex = 0;
    t.previousWindow = platform.ForegroundWindow();
    t.commandText.clear();
    t.windowOpen = true;
    ++t.openings;
}

HookDecision KeyboardProc(Platform& platform, Typing& t, const KeyEvent& event, const NewsSink& tell) {
    if (!t.enabled)
        return HookDecision::Pass;
    const bool keyDown = event.message == KeyMessage::KeyDown;
    const bool anyDown = keyDown || event.message == KeyMessage::SysKeyDown;

    if (t.capturingKey) {
        // Only a key press can be the new key: the release of the key or click that started
        // the capture must not be taken for it.
        if (!anyDown)
            return HookDecision::Pass;
        t.activationKey = static_cast<std::int16_t>(event.vkCode);
        t.capturingKey = false;
        TypingNews news = NewsOf(t, event.at);
        news.capturedKey = t.activationKey;
        tell(std::move(news));
        return HookDecision::Swallow;
    }
    if (!keyDown)
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
            t.commandText.clear();
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
            RemoveLastCharacter(t.commandText);
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
                Append(t.commandText, LowerCase(Printable(platform.TranslateKey(event))));
            }
        }
    }
    if (changed) {
        TypingNews news = NewsOf(t, event.at);
        news.frozen = std::move(frozen);
        tell(std::move(news));
    }
    return result;
}

} // namespace tov

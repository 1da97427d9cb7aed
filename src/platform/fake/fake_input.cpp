// The fake's input: the keys and clicks a test presses, the hooks that the input thread runs
// for them, the raw input the watchdog hears beside the hooks, and later starts.
#include "platform/fake/fake_platform.h"

#include <stdexcept>

namespace tov {

namespace {

// The keys of a US keyboard that type punctuation without Shift.
constexpr std::pair<char, std::uint32_t> kPunctuationKeys[] = {
    {';', 0xBA}, {'=', 0xBB}, {',', 0xBC},  {'-', 0xBD}, {'.', 0xBE},  {'/', 0xBF},
    {'`', 0xC0}, {'[', 0xDB}, {'\\', 0xDC}, {']', 0xDD}, {'\'', 0xDE},
};

std::uint32_t KeyOfCharacter(char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<std::uint32_t>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '\t')
        return static_cast<unsigned char>(c);
    for (const auto& [character, key] : kPunctuationKeys)
        if (c == character)
            return key;
    throw std::invalid_argument(std::string("the fake keyboard has no key for '") + c + "'");
}

} // namespace

InputTick FakePlatform::InputClock() const {
    return static_cast<InputTick>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count());
}

void FakePlatform::HearRawInput(InputDevice device, std::uint32_t vkCode, bool keyDown) {
    if (!watchdogNews)
        return;
    rawInput.push_back({WatchdogNews::Kind::RawInput, device, InputClock(), vkCode, keyDown});
}

void FakePlatform::DeliverRawInput() {
    while (!rawInput.empty()) {
        const WatchdogNews news = rawInput.front();
        rawInput.pop_front();
        if (watchdogNews)
            watchdogNews(news);
    }
}

HookDecision FakePlatform::PressKey(std::uint32_t vkCode, KeyMessage message) {
    RunInputWork();
    const bool down = message == KeyMessage::KeyDown || message == KeyMessage::SysKeyDown;
    HearRawInput(InputDevice::Keyboard, vkCode, down);
    // The keys typed into a program that runs as administrator pass the hooks of one that does not.
    if (!keyHandler || hooksDropped || RunsElevatedAboveUs(foreground))
        return HookDecision::Pass;
    lastKeyboardCall = InputClock();
    KeyEvent event;
    event.message = message;
    event.vkCode = vkCode;
    event.scanCode = vkCode; // the fake keyboard's scan codes equal the virtual keys
    event.at = std::chrono::steady_clock::now();
    return keyHandler(event);
}

HookDecision FakePlatform::PressKey(VirtualKey key, KeyMessage message) {
    return PressKey(KeyCode(key), message);
}

HookDecision FakePlatform::TypeText(std::string_view text) {
    HookDecision last = HookDecision::Pass;
    for (char c : text) {
        const std::uint32_t vk = KeyOfCharacter(c);
        const bool upper = c >= 'A' && c <= 'Z';
        const bool oldShift = shiftDown;
        shiftDown = upper;
        last = PressKey(vk);
        PressKey(vk, KeyMessage::KeyUp);
        shiftDown = oldShift;
    }
    return last;
}

HookDecision FakePlatform::Click(Point screenPoint, MouseMessage message) {
    RunInputWork();
    const bool press = message == MouseMessage::LeftDown || message == MouseMessage::RightDown ||
                       message == MouseMessage::MiddleDown;
    if (press)
        HearRawInput(InputDevice::Mouse, 0, false);
    if (!mouseHandler || hooksDropped)
        return HookDecision::Pass;
    lastMouseCall = InputClock();
    return mouseHandler(MouseEvent{message, screenPoint});
}

void FakePlatform::RunInputWork() {
    while (!inputWork.empty()) {
        const auto work = std::move(inputWork.front());
        inputWork.pop_front();
        work();
    }
}

void FakePlatform::QueueKey(std::uint32_t vkCode, KeyMessage message) {
    hookQueue.push_back([this, vkCode, message] { queuedDecisions.push_back(PressKey(vkCode, message)); });
}

void FakePlatform::QueueKey(VirtualKey key, KeyMessage message) {
    QueueKey(KeyCode(key), message);
}

void FakePlatform::QueueText(std::string_view text) {
    hookQueue.push_back([this, text = std::string(text)] { queuedDecisions.push_back(TypeText(text)); });
}

void FakePlatform::QueueClick(Point screenPoint, MouseMessage message) {
    hookQueue.push_back(
        [this, screenPoint, message] { queuedDecisions.push_back(Click(screenPoint, message)); });
}

void FakePlatform::StartAgain(std::string_view commandLine) {
    PostToMain([this, commandLine = std::string(commandLine)] {
        if (laterStartHandler)
            laterStartHandler(commandLine);
    });
}

bool FakePlatform::StartInput(InputHandlers handlers) {
    keyHandler = std::move(handlers.keys);
    mouseHandler = std::move(handlers.mouse);
    inputRunning = true;
    hooksDropped = false;
    calls.push_back("StartInput");
    return true;
}

void FakePlatform::StopInput() {
    keyHandler = nullptr;
    mouseHandler = nullptr;
    inputRunning = false;
    calls.push_back("StopInput");
}

void FakePlatform::PostToInput(std::function<void()> work) {
    if (inputRunning)
        inputWork.push_back(std::move(work));
    else
        work();
}

void FakePlatform::ListenForWatchdog(std::function<void(const WatchdogNews&)> onNews) {
    watchdogNews = std::move(onNews);
}

InputTick FakePlatform::LastHookCall(InputDevice device) {
    return device == InputDevice::Keyboard ? lastKeyboardCall : lastMouseCall;
}

void FakePlatform::ReinstallHooks(const std::string& why) {
    calls.push_back("ReinstallHooks " + why);
    if (inputRunning)
        hooksDropped = false;
}

void FakePlatform::DropHooks() {
    calls.push_back("DropHooks");
    hooksDropped = true;
}

void FakePlatform::SetLaterStartHandler(std::function<void(const std::string& commandLine)> handler) {
    laterStartHandler = std::move(handler);
}

std::string FakePlatform::TranslateKey(const KeyEvent& event) {
    const std::uint32_t vk = event.vkCode;
    if (vk >= 'A' && vk <= 'Z')
        return std::string(1, static_cast<char>(shiftDown ? vk : vk - 'A' + 'a'));
    if ((vk >= '0' && vk <= '9') || vk == VirtualKey::Space)
        return std::string(1, static_cast<char>(vk));
    if (vk == VirtualKey::Tab)
        return "\t";
    for (const auto& [c, key] : kPunctuationKeys)
        if (vk == key)
            return std::string(1, c);
    return {};
}

std::string FakePlatform::KeyName(std::uint32_t vkCode) {
    if (vkCode == VirtualKey::CapsLock)
        return "Caps Lock";
    if (vkCode >= KeyCode(VirtualKey::F1) && vkCode <= KeyCode(VirtualKey::F24))
        return "F" + std::to_string(vkCode - KeyCode(VirtualKey::F1) + 1);
    return "Key " + std::to_string(vkCode);
}

} // namespace tov

// The fake's input: the keys and clicks a test presses, the hooks that the input thread runs
// for them, the raw input the watchdog hears beside the hooks, and later starts.
#include "platform/fake/fake_platform.h"

#include <algorithm>
#include <future>
#include <stdexcept>

namespace tov {

namespace {

// The keys of a US keyboard that type punctuation without Shift.
constexpr std::pair<char, std::uint32_t> kPunctuationKeys[] = {
    {';', 0xBA}, {'=', 0xBB}, {',', 0xBC},  {'-', 0xBD}, {'.', 0xBE},  {'/', 0xBF},
    {'`', 0xC0}, {'[', 0xDB}, {'\\', 0xDC}, {']', 0xDD}, {'\'', 0xDE},
};

// The characters that Shift gives on the keys of a US keyboard that the tests type.
constexpr std::pair<char, std::uint32_t> kShiftedKeys[] = {
    {'!', '1'}, {'@', '2'}, {'#', '3'}, {'$', '4'}, {'%', '5'},  {'^', '6'},
    {'&', '7'}, {'*', '8'}, {'(', '9'}, {')', '0'}, {'+', 0xBB}, {'_', 0xBD},
};

bool IsShifted(char c) {
    return (c >= 'A' && c <= 'Z') || std::any_of(std::begin(kShiftedKeys), std::end(kShiftedKeys),
                                                 [c](const auto& shifted) { return shifted.first == c; });
}

std::uint32_t KeyOfCharacter(char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<std::uint32_t>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '\t')
        return static_cast<unsigned char>(c);
    for (const auto& [character, key] : kPunctuationKeys)
        if (c == character)
            return key;
    for (const auto& [character, key] : kShiftedKeys)
        if (c == character)
            return key;
    throw std::invalid_argument(std::string("the fake keyboard has no key for '") + c + "'");
}

} // namespace

InputTick FakePlatform::InputClock() const {
    return static_cast<InputTick>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count());
}

void FakePlatform::HearRawInput(InputDevice device) {
    if (device == InputDevice::Mouse) {
        if (!hearingMouseButtons)
            return;
        ++rawMouseMessages;
    } else if (!hearingKeys_) {
        return;
    }
    const WatchdogNews news{WatchdogNews::Kind::RawInput, device, InputClock()};
    const std::lock_guard hold(lock_);
    rawInput.push_back(news);
    mainWake_.notify_all();
}

void FakePlatform::DeliverRawInput() {
    for (;;) {
        WatchdogNews news;
        {
            const std::lock_guard hold(lock_);
            if (rawInput.empty())
                return;
            news = rawInput.front();
            rawInput.pop_front();
        }
        if (watchdogNews)
            watchdogNews(news);
    }
}

HookDecision FakePlatform::CallHook(std::function<HookDecision()> hook) {
    // A fault in a hook lets the event through, as the real hook procedures do.
    const auto decide = [this, &hook] {
        try {
            return hook();
        } catch (const std::exception& fault) {
            Log(std::string("Input thread: caught ") + fault.what());
        } catch (...) {
            Log("Input thread: caught an unknown exception");
        }
        return HookDecision::Pass;
    };
    std::promise<HookDecision> answer;
    std::future<HookDecision> answered = answer.get_future();
    bool queued = false;
    {
        const std::lock_guard hold(lock_);
        if (inputThreadRuns_) {
            inputWork.push_back([&answer, &decide] { answer.set_value(decide()); });
            queued = true;
        }
    }
    if (!queued) {
        RunInputWork();
        const HookDecision decision = decide();
        UpdateMouseHook();
        return decision;
    }
    inputWake_.notify_all();
    return answered.get();
}

HookDecision FakePlatform::SendKey(std::uint32_t vkCode, KeyMessage message) {
    KeyEvent event;
    event.message = message;
    event.vkCode = vkCode;
    event.scanCode = vkCode; // the fake keyboard's scan codes equal the virtual keys
    event.at = std::chrono::steady_clock::now();
    event.stamp = InputClock();
    HearRawInput(InputDevice::Keyboard);
    return CallHook([this, event] {
        if (!keyHandler || hooksDropped)
            return HookDecision::Pass;
        lastKeyboardCall = event.stamp;
        return keyHandler(event);
    });
}

HookDecision FakePlatform::SendKey(VirtualKey key, KeyMessage message) {
    return SendKey(KeyCode(key), message);
}

HookDecision FakePlatform::PressKey(std::uint32_t vkCode) {
    const HookDecision down = SendKey(vkCode, KeyMessage::KeyDown);
    SendKey(vkCode, KeyMessage::KeyUp);
    return down;
}

HookDecision FakePlatform::PressKey(VirtualKey key) {
    return PressKey(KeyCode(key));
}

HookDecision FakePlatform::TypeText(std::string_view text) {
    HookDecision last = HookDecision::Pass;
    for (char c : text) {
        const std::uint32_t vk = KeyOfCharacter(c);
        const bool oldShift = shiftDown;
        shiftDown = IsShifted(c);
        last = PressKey(vk);
        shiftDown = oldShift;
    }
    return last;
}

HookDecision FakePlatform::Click(Point screenPoint, MouseMessage message) {
    const InputTick stamp = InputClock();
    HearRawInput(InputDevice::Mouse);
    return CallHook([this, screenPoint, message, stamp] {
        if (!mouseHandler || !mouseHookInPlace || mouseHookDropped)
            return HookDecision::Pass;
        lastMouseCall = stamp;
        ++mouseHookCalls;
        return mouseHandler(MouseEvent{message, screenPoint});
    });
}

void FakePlatform::RunInputWork() {
    for (;;) {
        std::function<void()> work;
        {
            const std::lock_guard hold(lock_);
            if (inputWork.empty())
                return;
            work = std::move(inputWork.front());
            inputWork.pop_front();
        }
        RunOnInputThread(work);
    }
}

// What the input thread does with a piece of work: a fault is caught there, as the real
// thread catches it, and the mouse hook follows what the handlers want.
void FakePlatform::RunOnInputThread(const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& fault) {
        Log(std::string("Input thread: caught ") + fault.what());
    } catch (...) {
        Log("Input thread: caught an unknown exception");
    }
    UpdateMouseHook();
}

void FakePlatform::InputLoop() {
    std::unique_lock hold(lock_);
    for (;;) {
        inputWake_.wait(hold, [this] { return inputQuit_ || !inputWork.empty(); });
        if (inputWork.empty()) {
            inputThreadRuns_ = false;
            return;
        }
        const std::function<void()> work = std::move(inputWork.front());
        inputWork.pop_front();
        hold.unlock();
        RunOnInputThread(work);
        hold.lock();
    }
}

void FakePlatform::UpdateMouseHook() {
    if (!inputRunning)
        return;
    const bool wanted = !mouseWanted || mouseWanted();
    if (wanted && !mouseHookInPlace) {
        mouseHookDropped = false;
        mouseHookInPlace = true;
    } else if (!wanted) {
        mouseHookInPlace = false;
    }
}

void FakePlatform::QueueKey(std::uint32_t vkCode) {
    hookQueue.push_back([this, vkCode] { queuedDecisions.push_back(PressKey(vkCode)); });
}

void FakePlatform::QueueKey(VirtualKey key) {
    QueueKey(KeyCode(key));
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
    mouseWanted = std::move(handlers.mouseWanted);
    inputRunning = true;
    hooksDropped = false;
    UpdateMouseHook();
    calls.push_back("StartInput");
    if (Threaded()) {
        {
            const std::lock_guard hold(lock_);
            inputQuit_ = false;
            inputThreadRuns_ = true;
        }
        inputThread_ = std::thread([this] { InputLoop(); });
    }
    return true;
}

bool FakePlatform::StopInput() {
    calls.push_back("StopInput");
    if (!inputEndsInTime)
        return false;
    if (inputThread_.joinable()) {
        {
            const std::lock_guard hold(lock_);
            inputQuit_ = true;
        }
        inputWake_.notify_all();
        inputThread_.join();
    }
    keyHandler = nullptr;
    mouseHandler = nullptr;
    mouseWanted = nullptr;
    mouseHookInPlace = false;
    inputRunning = false;
    return true;
}

void FakePlatform::PostToInput(std::function<void()> work) {
    if (!inputRunning) {
        work();
        return;
    }
    {
        const std::lock_guard hold(lock_);
        inputWork.push_back(std::move(work));
    }
    inputWake_.notify_all();
}

void FakePlatform::ListenForWatchdog(std::function<void(const WatchdogNews&)> onNews) {
    hearingKeys_ = static_cast<bool>(onNews);
    watchdogNews = std::move(onNews);
}

void FakePlatform::ListenForMouseButtons(bool listen) {
    hearingMouseButtons = listen;
}

InputTick FakePlatform::LastHookCall(InputDevice device) {
    return device == InputDevice::Keyboard ? lastKeyboardCall : lastMouseCall;
}

void FakePlatform::ReinstallHooks(const std::string& why) {
    calls.push_back("ReinstallHooks " + why);
    if (inputRunning) {
        hooksDropped = false;
        mouseHookDropped = false;
    }
}

void FakePlatform::DropHooks() {
    calls.push_back("DropHooks");
    hooksDropped = true;
    mouseHookDropped = true;
}

void FakePlatform::SetLaterStartHandler(std::function<void(const std::string& commandLine)> handler) {
    laterStartHandler = std::move(handler);
}

std::string FakePlatform::TranslateKey(const KeyEvent& event) {
    const std::uint32_t vk = event.vkCode;
    if (const auto other = otherLayout.find(vk); other != otherLayout.end())
        return other->second;
    if (vk >= 'A' && vk <= 'Z')
        return std::string(1, static_cast<char>(shiftDown ? vk : vk - 'A' + 'a'));
    for (const auto& [c, key] : kShiftedKeys)
        if (shiftDown && vk == key)
            return std::string(1, c);
    if ((vk >= '0' && vk <= '9') || vk == VirtualKey::Space)
        return std::string(1, static_cast<char>(vk));
    if (vk == VirtualKey::Tab)
        return "\t";
    for (const auto& [c, key] : kPunctuationKeys)
        if (vk == key)
            return std::string(1, c);
    return {};
}

ModifierKeys FakePlatform::HeldModifiers() {
    ModifierKeys held = ModifierKeys::None;
    if (shiftDown)
        held = held | ModifierKeys::Shift;
    if (controlDown)
        held = held | ModifierKeys::Control;
    if (altDown)
        held = held | ModifierKeys::Alt;
    return held;
}

std::string FakePlatform::KeyName(std::uint32_t vkCode) {
    if (vkCode == VirtualKey::CapsLock)
        return "Caps Lock";
    if (vkCode >= KeyCode(VirtualKey::F1) && vkCode <= KeyCode(VirtualKey::F24))
        return "F" + std::to_string(vkCode - KeyCode(VirtualKey::F1) + 1);
    return "Key " + std::to_string(vkCode);
}

} // namespace tov

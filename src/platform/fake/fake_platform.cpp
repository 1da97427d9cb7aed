#include "platform/fake/fake_platform.h"

#include "platform/files.h"
#include "platform/later_start.h"
#include "platform/text.h"
#include "platform/tray_tip.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tov {

namespace {

std::string ShowCommandName(ShowCommand command) {
    switch (command) {
    case ShowCommand::Show:
        return "show";
    case ShowCommand::Normal:
        return "normal";
    case ShowCommand::Maximize:
        return "maximize";
    case ShowCommand::Minimize:
        return "minimize";
    }
    return "?";
}

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

FakePlatform::FakePlatform() = default;

HookDecision FakePlatform::PressKey(std::uint32_t vkCode, KeyMessage message) {
    RunInputWork();
    if (!keyHandler || hooksDropped)
        return HookDecision::Pass;
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
        const bool oldShift = shiftDown;
        shiftDown = IsShifted(c);
        last = PressKey(vk);
        PressKey(vk, KeyMessage::KeyUp);
        shiftDown = oldShift;
    }
    return last;
}

HookDecision FakePlatform::Click(Point screenPoint, MouseMessage message) {
    RunInputWork();
    if (!mouseHandler || hooksDropped)
        return HookDecision::Pass;
    return mouseHandler(MouseEvent{message, screenPoint});
}

void FakePlatform::RunInputWork() {
    while (!inputWork.empty()) {
        const auto work = std::move(inputWork.front());
        inputWork.pop_front();
        work();
    }
}

void FakePlatform::RunMainWork() {
    std::deque<std::function<void()>> batch;
    batch.swap(mainWork);
    for (auto& work : batch)
        work();
}

void FakePlatform::RunPending() {
    if (!holdBackground)
        FinishBackground();
    while (wakePending || !mainWork.empty() || !inputWork.empty()) {
        RunInputWork();
        RunMainWork();
        if (wakePending) {
            wakePending = false;
            if (wakeHandler)
                wakeHandler();
        }
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

void FakePlatform::RunModalLoop() {
    RunPending();
    // An event's handler may open a nested loop that takes the rest of the queue.
    while (!hookQueue.empty()) {
        const auto event = std::move(hookQueue.front());
        hookQueue.pop_front();
        event();
        RunPending();
    }
}

void FakePlatform::StartAgain(std::string_view arguments) {
    const LaterStart start = ParseLaterStart(arguments);
    switch (start.request) {
    case LaterStartRequest::Activate:
        PostToMain([this] {
            if (activationHandler)
                activationHandler();
        });
        break;
    case LaterStartRequest::DropHooks:
        hooksDropped = true;
        break;
    case LaterStartRequest::Busy:
        busyRequests.push_back(start.busy);
        break;
    case LaterStartRequest::Unknown:
        break;
    }
}

void FakePlatform::ClickControl(Form& form, ControlName name, int index) {
    Control& c = form.At(name, index);
    if (!c.enabled || !c.visible)
        return;
    if (c.kind == ControlKind::CheckBox)
        c.value = c.value ? 0 : 1;
    if (c.kind == ControlKind::OptionButton) {
        for (Control& other : form.controls)
            if (other.name == c.name && other.kind == ControlKind::OptionButton)
                other.value = 0;
        c.value = 1;
    }
    if (c.onClick) {
        const auto handler = c.onClick; // the handler may unload the form
        handler();
    }
}

void FakePlatform::ChangeValue(Form& form, ControlName name, int value) {
    Control& c = form.At(name);
    if (!c.enabled || !c.visible)
        return;
    c.value = std::clamp(value, c.minimum, c.maximum);
    if (c.onChange) {
        const auto handler = c.onChange;
        handler();
    }
}

void FakePlatform::SelectRow(Form& form, ControlName name, int row) {
    Control& c = form.At(name);
    if (!c.enabled || !c.visible || row < 0 || row >= static_cast<int>(c.items.size()))
        return;
    c.value = row;
    if (c.onClick) {
        const auto handler = c.onClick;
        handler();
    }
}

WindowHandle FakePlatform::AddWindow(std::string caption, bool onTop) {
    const WindowHandle h = nextHandle_++;
    windows[h] = FakeWindow{std::move(caption)};
    if (onTop)
        zOrder.insert(zOrder.begin(), h);
    else
        zOrder.push_back(h);
    return h;
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

void FakePlatform::PostToMain(std::function<void()> work) {
    mainWork.push_back(std::move(work));
}

void FakePlatform::SetActivationHandler(std::function<void()> handler) {
    activationHandler = std::move(handler);
}

bool FakePlatform::ClaimOnlyInstance() {
    calls.push_back("ClaimOnlyInstance");
    return !anotherCopyRuns;
}

bool FakePlatform::RunOneMessage() {
    if (!arrivingEvents.empty()) {
        const auto event = std::move(arrivingEvents.front());
        arrivingEvents.pop_front();
        event();
    }
    RunPending();
    return !quit;
}

void FakePlatform::PumpPendingMessages() {
    RunModalLoop();
}

void FakePlatform::SetWakeHandler(std::function<void()> handler) {
    wakeHandler = std::move(handler);
}

void FakePlatform::RequestWake() {
    wakePending = true;
    ++wakeRequests;
}

void FakePlatform::RaisePriority() {
    calls.push_back("RaisePriority");
}

std::string FakePlatform::TranslateKey(const KeyEvent& event) {
    const std::uint32_t vk = event.vkCode;
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

std::string FakePlatform::DecimalSeparator() {
    return decimalSeparator;
}

bool FakePlatform::SetClipboardText(const std::string& text) {
    if (clipboardBusy)
        return false;
    clipboard = text;
    return true;
}

std::string FakePlatform::KeyName(std::uint32_t vkCode) {
    if (vkCode == VirtualKey::CapsLock)
        return "Caps Lock";
    if (vkCode >= KeyCode(VirtualKey::F1) && vkCode <= KeyCode(VirtualKey::F24))
        return "F" + std::to_string(vkCode - KeyCode(VirtualKey::F1) + 1);
    return "Key " + std::to_string(vkCode);
}

WindowHandle FakePlatform::ForegroundWindow() {
    return foreground;
}

std::string FakePlatform::WindowCaption(WindowHandle window) {
    auto it = windows.find(window);
    return it == windows.end() || it->second.closed ? std::string() : it->second.caption;
}

std::vector<WindowHandle> FakePlatform::TopLevelWindows() {
    std::vector<WindowHandle> out;
    for (WindowHandle h : zOrder)
        if (!windows[h].closed)
            out.push_back(h);
    return out;
}

WindowHandle FakePlatform::TopLevelWindowAt(Point screenPoint) {
    for (Form* form : liveForms)
        if (form->visible && form->rect.Contains(screenPoint))
            return form->handle;
    // Below every window of the program's own lies the desktop: the bottom window of the list.
    for (auto it = zOrder.rbegin(); it != zOrder.rend(); ++it)
        if (!windows[*it].closed && std::none_of(liveForms.begin(), liveForms.end(),
                                                 [&](const Form* form) { return form->handle == *it; }))
            return *it;
    return 0;
}

void FakePlatform::RequestWindowClose(WindowHandle window) {
    calls.push_back("RequestWindowClose " + std::to_string(window));
    auto it = windows.find(window);
    if (it != windows.end() && !it->second.hung)
        it->second.closed = true;
}

void FakePlatform::SetShowCommand(WindowHandle window, ShowCommand command) {
    calls.push_back("SetShowCommand " + std::to_string(window) + " " + ShowCommandName(command));
    auto it = windows.find(window);
    if (it != windows.end() && !it->second.closed && !it->second.hung)
        it->second.showCommand = command;
}

void FakePlatform::BringToFront(WindowHandle window) {
    calls.push_back("BringToFront " + std::to_string(window));
    auto it = windows.find(window);
    if (it != windows.end() && !it->second.closed)
        foreground = window;
}

void FakePlatform::StartScreenSaver(WindowHandle ownWindow) {
    calls.push_back("StartScreenSaver " + std::to_string(ownWindow));
}

bool FakePlatform::CreateFormWindow(Form& form) {
    form.handle = nextHandle_++;
    liveForms.insert(&form);
    windows[form.handle] = FakeWindow{form.caption};
    // The system lists the program's own windows with everyone else's, hidden or not.
    zOrder.insert(zOrder.begin(), form.handle);
    calls.push_back("CreateFormWindow " + form.name);
    return true;
}

void FakePlatform::DestroyFormWindow(Form& form) {
    liveForms.erase(&form);
    windows[form.handle].closed = true;
    form.handle = 0;
    form.visible = false;
    calls.push_back("DestroyFormWindow " + form.name);
}

void FakePlatform::ShowForm(Form& form) {
    form.visible = true;
    if (form.style.activateOnShow)
        foreground = form.handle;
}

void FakePlatform::HideForm(Form& form) {
    form.visible = false;
}
void FakePlatform::PlaceForm(Form&) {}
void FakePlatform::UpdateForm(Form&) {}
void FakePlatform::MakeTopmost(Form& form) {
    calls.push_back("MakeTopmost " + form.name);
}

bool FakePlatform::SetLayeredOpacity(WindowHandle window, int alpha) {
    if (window == 0)
        return false;
    opacity[window] = alpha;
    opacityHistory.push_back(alpha);
    return true;
}

Size FakePlatform::MeasureText(const Font& font, std::string_view text) {
    int characters = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++characters;
    // A fixed-pitch stand-in: wide enough to tell lengths apart, tall as the point size says.
    return Size{characters * 10, static_cast<int>(std::lround(font.points * 4.0 / 3.0)) + 3};
}

Size FakePlatform::ScreenSize() {
    return Size{1024, 768};
}

std::optional<SystemColours> FakePlatform::HighContrastColours() {
    return highContrast;
}

PicturePtr FakePlatform::LoadResourcePicture(std::string_view name) {
    auto p = std::make_shared<FakePicture>();
    p->source = "res:" + std::string(name);
    return p;
}

PicturePtr FakePlatform::LoadPictureFile(const std::string& path) {
    if (!IsPlainFile(path))
        return nullptr;
    auto p = std::make_shared<FakePicture>();
    p->source = path;
    return p;
}

PicturePtr FakePlatform::ExtractFileIcon(const std::string& path, int index) {
    auto p = std::make_shared<FakePicture>();
    p->source = path + "," + std::to_string(index);
    return p;
}

MessageBoxResult FakePlatform::ShowMessageBox(const std::string& text, const std::string& title,
                                              MessageBoxButtons buttons) {
    messageBoxes.push_back({text, title, buttons, calls.size()});
    RunModalLoop();
    if (!messageBoxAnswers.empty()) {
        const MessageBoxResult answer = messageBoxAnswers.front();
        messageBoxAnswers.pop_front();
        return answer;
    }
    return buttons == MessageBoxButtons::YesNo ? MessageBoxResult::Yes : MessageBoxResult::Ok;
}

std::optional<std::string> FakePlatform::ChooseOpenFile(WindowHandle owner, const OpenFileRequest& request) {
    dialogOwners.push_back(owner);
    openFileRequests.push_back(request);
    RunModalLoop();
    if (openFileAnswers.empty())
        return std::nullopt;
    auto answer = std::move(openFileAnswers.front());
    openFileAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakePlatform::ChooseFolder(WindowHandle owner, const std::string&) {
    dialogOwners.push_back(owner);
    ++folderRequests;
    RunModalLoop();
    if (folderAnswers.empty())
        return std::nullopt;
    auto answer = std::move(folderAnswers.front());
    folderAnswers.pop_front();
    return answer;
}

std::string FakePlatform::InputBox(WindowHandle owner, const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) {
    dialogOwners.push_back(owner);
    inputBoxes.push_back({prompt, title, defaultText});
    RunModalLoop();
    if (inputBoxAnswers.empty())
        return {};
    std::string answer = std::move(inputBoxAnswers.front());
    inputBoxAnswers.pop_front();
    return answer;
}

void FakePlatform::ShellOpen(const std::string& file, const std::string& parameters,
                             const std::string& workingFolder, ShowCommand command) {
    launches.push_back({file, parameters, workingFolder, command});
}

void FakePlatform::ShellOpenElevated(const std::string& file, const std::string& parameters,
                                     const std::string& workingFolder) {
    launches.push_back({file, parameters, workingFolder, ShowCommand::Show, LaunchVerb::RunAs});
}

void FakePlatform::ShowInFolder(const std::string& path) {
    launches.push_back({path, {}, {}, ShowCommand::Show, LaunchVerb::ShowInFolder});
}

bool FakePlatform::HasSettingsApp() {
    return settingsApp;
}

std::string FakePlatform::SpecialFolder(KnownFolder folder) {
    auto it = specialFolders.find(folder);
    return it == specialFolders.end() ? std::string() : it->second;
}

std::string FakePlatform::ProgramFolder() {
    return programFolder;
}

std::vector<InstalledApp> FakePlatform::ListInstalledApps() {
    return installedApps;
}

bool FakePlatform::InternetConnected() {
    return internetConnected;
}

std::optional<VersionNumber> FakePlatform::ProgramVersion() {
    return programVersion;
}

namespace {

class FakeHeldFile : public HeldFile {
  public:
    FakeHeldFile(std::string path, FakePlatform& platform) : path_(std::move(path)), platform_(platform) {
        ++platform_.filesHeld;
        platform_.calls.push_back("HoldFile " + path_);
    }
    ~FakeHeldFile() override {
        --platform_.filesHeld;
        platform_.calls.push_back("ReleaseFile " + path_);
    }
    const std::string& Path() const override { return path_; }

  private:
    std::string path_;
    FakePlatform& platform_;
};

} // namespace

HeldFilePtr FakePlatform::HoldFile(const std::string& path) {
    if (!IsPlainFile(path))
        return nullptr;
    return std::make_unique<FakeHeldFile>(path, *this);
}

SignatureCheck FakePlatform::VerifySignature(HeldFile& file) {
    calls.push_back("VerifySignature " + file.Path());
    return signature;
}

std::optional<VersionNumber> FakePlatform::HeldFileVersion(HeldFile& file) {
    calls.push_back("HeldFileVersion " + file.Path());
    return heldFileVersion;
}

bool FakePlatform::StartHeldProgram(HeldFile& file, const std::string& arguments,
                                    const std::string& workingFolder) {
    calls.push_back("StartHeldProgram " + file.Path());
    if (!heldProgramStarts)
        return false;
    launches.push_back({file.Path(), arguments, workingFolder, ShowCommand::Show});
    return true;
}

bool FakePlatform::EnableShutdownPrivilege() {
    calls.push_back("EnableShutdownPrivilege");
    return shutdownPrivilegeGranted;
}

void FakePlatform::EndSession(SessionEnd end) {
    calls.push_back("EndSession " + std::to_string(static_cast<unsigned>(end)));
}
void FakePlatform::LockSession() {
    calls.push_back("LockSession");
}

std::optional<std::string> FakePlatform::ReadSetting(const std::string& app, const std::string& section,
                                                     const std::string& key) {
    auto it = settings.find(app + "\\" + section + "\\" + key);
    if (it == settings.end())
        return std::nullopt;
    return it->second;
}

void FakePlatform::WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                                const std::string& value) {
    settings[app + "\\" + section + "\\" + key] = value;
}

void FakePlatform::TrayMouse(MouseMessage message) {
    if (trayIcon && trayIcon->onMouse) {
        const auto handler = trayIcon->onMouse;
        handler(message);
    }
}

bool FakePlatform::CreateShortcut(const ShortcutRequest& request) {
    shortcuts.push_back(request);
    if (readOnlyFolders.contains(request.folder))
        return false;
    // A stand-in for the link: enough for the program to find the file on its next start.
    return ReplaceFileContents(JoinPath(request.folder, request.name + ".lnk"),
                               "shortcut to " + request.targetPath);
}

bool FakePlatform::AddTrayIcon(Form& owner, const std::string& tip, TrayMouseHandler onMouse) {
    trayIcon = FakeTrayIcon{owner.handle, Utf16ToUtf8(TrayTipText(tip)), std::move(onMouse)};
    ++trayIconsAdded;
    calls.push_back("AddTrayIcon " + owner.name);
    return owner.handle != 0;
}

void FakePlatform::RemoveTrayIcon() {
    if (trayIcon)
        calls.push_back("RemoveTrayIcon");
    trayIcon.reset();
}

void FakePlatform::ShowTrayBalloon(const std::string& title, const std::string& text, BalloonIcon icon) {
    balloons.push_back({title, text, icon});
}

std::optional<std::size_t> FakePlatform::ShowPopupMenu(Form& owner) {
    popupsShown.push_back(owner.name);
    RunModalLoop();
    std::optional<ControlName> choice;
    if (!popupChoices.empty()) {
        choice = popupChoices.front();
        popupChoices.pop_front();
    }
    for (std::size_t i = 0; choice && i < owner.popupMenu.size(); ++i)
        if (owner.popupMenu[i].name == *choice)
            return i;
    return std::nullopt;
}

Size FakePlatform::MeasureWrappedText(const Font& font, std::string_view text, int width) {
    const Size line = MeasureText(font, text);
    const int lines = width > 0 ? std::max(1, (line.width + width - 1) / width) : 1;
    return Size{std::min(line.width, width), lines * line.height};
}

MonotonicTime FakePlatform::MonotonicNow() {
    return now;
}

void FakePlatform::PumpMessagesUntil(MonotonicTime deadline) {
    calls.push_back("PumpMessagesUntil");
    RunModalLoop();
    AdvanceTimeTo(deadline);
}

void FakePlatform::Log(std::string_view line) {
    logLines.emplace_back(line);
}

} // namespace tov

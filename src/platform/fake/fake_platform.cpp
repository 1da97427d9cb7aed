#include "platform/fake/fake_platform.h"

#include "base/text.h"
#include "platform/files.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tov {

namespace {

// Characters of the notification icon record's tip field (NOTIFYICONDATAW::szTip), NUL included.
constexpr std::size_t kTrayTipCapacity = 128;

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

// A fixed-pitch stand-in for a font: wide enough to tell lengths apart. Each character takes
// whole pixels at the scale, as hinted glyphs do, so at 125 % a text is a little wider in
// 96-DPI units than at 100 %.
int TextPixels(std::string_view text, int dpi) {
    constexpr double kAdvance = 10;
    const int advance = static_cast<int>(std::ceil(kAdvance * dpi / kBaseDpi));
    return static_cast<int>(CharacterCount(text)) * advance;
}

} // namespace

FakePlatform::FakePlatform(FakeThreads threads) : threads_(threads) {}

FakePlatform::~FakePlatform() {
    JoinThreads();
}

bool FakePlatform::EndThreads() {
    if (!inputEndsInTime && inputRunning)
        return false;
    JoinThreads();
    return true;
}

void FakePlatform::JoinThreads() {
    if (inputThread_.joinable()) {
        {
            const std::lock_guard hold(lock_);
            inputQuit_ = true;
        }
        inputWake_.notify_all();
        inputThread_.join();
    }
    for (std::thread& worker : workers_)
        worker.join();
    workers_.clear();
}

void FakePlatform::RunMainWork() {
    std::deque<std::function<void()>> batch;
    {
        const std::lock_guard hold(lock_);
        batch.swap(mainWork);
    }
    for (auto& work : batch)
        work();
}

bool FakePlatform::HasPendingLocked() const {
    return wakePending || !mainWork.empty() || !rawInput.empty() || (!Threaded() && !inputWork.empty()) ||
           (Threaded() && !holdBackground && !handOvers.empty());
}

void FakePlatform::RunPending() {
    if (!holdBackground && !Threaded())
        FinishBackground();
    for (;;) {
        {
            const std::lock_guard hold(lock_);
            if (!HasPendingLocked())
                return;
        }
        if (!Threaded())
            RunInputWork();
        DeliverRawInput();
        RunMainWork();
        if (Threaded() && !holdBackground)
            DeliverHandOvers();
        if (wakePending) {
            wakePending = false;
            if (wakeHandler)
                wakeHandler();
        }
    }
}

bool FakePlatform::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        RunPending();
        if (done())
            return true;
        std::unique_lock hold(lock_);
        if (!mainWake_.wait_until(hold, deadline, [this] { return HasPendingLocked(); }))
            return done();
    }
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
    const std::lock_guard hold(lock_);
    const WindowHandle h = nextHandle_++;
    windows[h] = FakeWindow{std::move(caption)};
    if (onTop)
        zOrder.insert(zOrder.begin(), h);
    else
        zOrder.push_back(h);
    return h;
}

void FakePlatform::PostToMain(std::function<void()> work) {
    const std::lock_guard hold(lock_);
    mainWork.push_back(std::move(work));
    mainWake_.notify_all();
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

std::string FakePlatform::DecimalSeparator() {
    return decimalSeparator;
}

bool FakePlatform::SetClipboardText(const std::string& text) {
    if (clipboardBusy)
        return false;
    clipboard = text;
    return true;
}

WindowHandle FakePlatform::ForegroundWindow() {
    const std::lock_guard hold(lock_);
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

bool FakePlatform::OwnWindow(WindowHandle window) {
    const std::lock_guard hold(lock_);
    const auto found = windows.find(window);
    return found != windows.end() && found->second.own;
}

WindowHandle FakePlatform::TopLevelWindowAt(Point screenPoint) {
    const std::lock_guard hold(lock_);
    for (const auto& [window, rect] : shownForms_)
        if (rect.Contains(screenPoint))
            return window;
    // Below every window of the program's own lies the desktop: the bottom window of the list.
    for (auto it = zOrder.rbegin(); it != zOrder.rend(); ++it) {
        const auto found = windows.find(*it);
        if (found != windows.end() && !found->second.closed && !found->second.own)
            return *it;
    }
    return 0;
}

void FakePlatform::RequestWindowClose(WindowHandle window) {
    calls.push_back("RequestWindowClose " + std::to_string(window));
    const std::lock_guard hold(lock_);
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
    const std::lock_guard hold(lock_);
    auto it = windows.find(window);
    if (it != windows.end() && !it->second.closed)
        foreground = window;
}

void FakePlatform::StartScreenSaver(WindowHandle ownWindow) {
    calls.push_back("StartScreenSaver " + std::to_string(ownWindow));
}

bool FakePlatform::CreateFormWindow(Form& form) {
    const std::lock_guard hold(lock_);
    form.handle = nextHandle_++;
    FitToMonitor(form);
    liveForms.insert(&form);
    windows[form.handle] = FakeWindow{form.caption};
    windows[form.handle].own = true;
    // The system lists the program's own windows with everyone else's, hidden or not.
    zOrder.insert(zOrder.begin(), form.handle);
    calls.push_back("CreateFormWindow " + form.name);
    return true;
}

void FakePlatform::DestroyFormWindow(Form& form) {
    const std::lock_guard hold(lock_);
    shownForms_.erase(form.handle);
    liveForms.erase(&form);
    windows[form.handle].closed = true;
    form.handle = 0;
    form.visible = false;
    calls.push_back("DestroyFormWindow " + form.name);
}

void FakePlatform::ShowForm(Form& form) {
    const std::lock_guard hold(lock_);
    form.visible = true;
    shownForms_[form.handle] = ScreenRect(form);
    if (form.style.activateOnShow)
        foreground = form.handle;
}

void FakePlatform::HideForm(Form& form) {
    const std::lock_guard hold(lock_);
    form.visible = false;
    shownForms_.erase(form.handle);
}

void FakePlatform::PlaceForm(Form& form) {
    const std::lock_guard hold(lock_);
    FitToMonitor(form);
    if (form.visible)
        shownForms_[form.handle] = ScreenRect(form);
}

void FakePlatform::UpdateForm(Form& form) {
    PlaceForm(form);
}
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

Size FakePlatform::MeasureText(const Font& font, std::string_view text, int dpi) {
    // The line is as tall as the point size says, in whole pixels.
    constexpr double kPointsPerInch = 72;
    constexpr int kLeading = 3;
    const int line =
        static_cast<int>(std::lround(font.points * dpi / kPointsPerInch)) + ScaleToDpi(kLeading, dpi);
    return Size{ScaleFromDpi(TextPixels(text, dpi), dpi), ScaleFromDpi(line, dpi)};
}

int FakePlatform::DrawnTextLeft(const Form& form, const Control& label, std::size_t at) {
    return ScaleToDpi(label.rect.left, form.dpi) +
           TextPixels(label.indent + label.text.substr(0, std::min(at, label.text.size())), form.dpi);
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
    if (iconFaults.contains(path))
        throw std::runtime_error("no icon could be read from " + path);
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
    if (launchesThrow)
        throw std::runtime_error("the launch failed");
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

std::optional<std::string> FakePlatform::ReadHeldFile(HeldFile& file, std::uint64_t limit) {
    calls.push_back("ReadHeldFile " + file.Path());
    return ReadFileBytes(file.Path(), limit);
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

bool FakePlatform::OnlyAdministratorsCanChange(const std::string& path) {
    return !programsOthersCanChange.contains(path);
}

bool FakePlatform::AddTrayIcon(Form& owner, const std::string& tip, TrayMouseHandler onMouse) {
    trayIcon =
        FakeTrayIcon{owner.handle, Utf16ToUtf8(Utf16ForField(tip, kTrayTipCapacity)), std::move(onMouse)};
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

Size FakePlatform::MeasureWrappedText(const Font& font, std::string_view text, int width, int dpi) {
    const Size line = MeasureText(font, text, dpi);
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
    const std::lock_guard hold(lock_);
    logLines.emplace_back(line);
}

} // namespace tov

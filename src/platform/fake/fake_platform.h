#pragma once
// A platform that behaves like the system as far as the program can tell, in memory:
// tests press keys and click through it and read back what the program did.
#include "platform/platform.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace tov {

struct FakeWindow {
    std::string caption;
    ShowCommand showCommand = ShowCommand::Normal;
    bool closed = false;
    bool hung = false;     // does not answer messages
    bool elevated = false; // its program runs as administrator: its keys pass the hooks unseen
    bool own = false;      // one of the program's own windows
    bool desktop = false;  // the shell's desktop, over every monitor
    Rect rect{100, 100, 640, 480};
};

struct FakeMessageBox {
    std::string text;
    std::string title;
    MessageBoxButtons buttons;
    std::size_t callsBefore = 0; // how many `calls` had been recorded when it showed
};

// How a launch asked the shell: to open, to run as administrator, or to show in its folder.
enum class LaunchVerb { Open, RunAs, ShowInFolder };

struct FakeLaunch {
    std::string file;
    std::string parameters;
    std::string workingFolder;
    ShowCommand showCommand = ShowCommand::Show;
    LaunchVerb verb = LaunchVerb::Open;
};

struct FakePicture : Picture {};

struct FakeInputBox {
    std::string prompt;
    std::string title;
    std::string defaultText;
};

struct FakeBalloon {
    std::string title;
    std::string text;
    BalloonIcon icon = BalloonIcon::Warning;
};

// A watch the program holds; `live` goes false when it lets go of it.
struct FakeFolderWatch {
    std::vector<FolderWatchRequest> folders;
    std::function<void()> onChange;
    bool live = true;
};

struct FakeTimer {
    MonotonicTime due{};
    std::function<void()> onTime;
    bool live = true;
};

struct FakeTrayIcon {
    WindowHandle owner = 0;
    std::string tip;
    TrayMouseHandler onMouse;
};

// How the fake runs the program's other threads.
enum class FakeThreads {
    One,  // everything on the test's thread, in the order the test drives it
    Real, // as on Windows: the hooks and the work posted to them on an input thread of their
          // own, background work on worker threads; the test's thread is the main thread, and
          // keys and clicks may come from any thread
};

class FakePlatform : public Platform {
  public:
    explicit FakePlatform(FakeThreads threads = FakeThreads::One);
    ~FakePlatform() override;
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // Test controls.
    // A key pressed and released: the answer to its down.
    HookDecision PressKey(std::uint32_t vkCode);
    HookDecision PressKey(VirtualKey key);
    // One event of a key alone: a down sent again before the key's up is its auto-repeat.
    HookDecision SendKey(std::uint32_t vkCode, KeyMessage message);
    HookDecision SendKey(VirtualKey key, KeyMessage message);
    HookDecision TypeText(std::string_view text); // one key per character, letters as their virtual keys
    HookDecision Click(Point screenPoint, MouseMessage message = MouseMessage::LeftDown);
    // Runs what a message loop would: work posted to either thread, and the wake handler when
    // a wake is pending, until nothing is left. With real threads it runs what has arrived and
    // does not wait for background work.
    void RunPending();
    // Runs the main thread's messages as they arrive until `done` holds; false when it still
    // does not after `limit`.
    bool RunUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds limit = std::chrono::seconds(10));
    // The input thread answers hook events whatever the main thread does, so PressKey, TypeText
    // and Click run the handler at once (after the work posted to the input thread before them).
    // Events queued here instead arrive while the main thread is inside its next modal loop
    // (a message box, a dialog, a pop-up menu, a wait, a pump), as a user's keys and clicks do
    // while a box is up: one at a time, each followed by the main thread's dispatch.
    void QueueKey(std::uint32_t vkCode); // pressed and released
    void QueueKey(VirtualKey key);
    void QueueText(std::string_view text);
    void QueueClick(Point screenPoint, MouseMessage message = MouseMessage::LeftDown);
    // A modal loop of the main thread, as the fake's boxes, dialogs, menus and waits run it.
    void RunModalLoop();
    // A later start of the program in the same session, with its whole command line.
    void StartAgain(std::string_view commandLine);
    void ClickControl(Form& form, ControlName name, int index = 0);
    // Moves a slider or up-down, or selects a list row, as the user would.
    void ChangeValue(Form& form, ControlName name, int value);
    void SelectRow(Form& form, ControlName name, int row);
    WindowHandle AddWindow(std::string caption, bool onTop = true);
    // The monitor at `index` changes (its scale, its work area), as the display settings change
    // it: every window of the program's own on it is laid out again for its scale where it stands.
    void ChangeMonitor(std::size_t index, const Monitor& changed);
    // Where the label draws the character that starts at byte `at` of its text (its end past the
    // last), in pixels from the window's left edge, as the system draws it: after the label's
    // indent, every character whole pixels wide at the form's scale.
    static int DrawnTextLeft(const Form& form, const Control& label, std::size_t at);

    bool shiftDown = false;
    bool controlDown = false;
    bool altDown = false;
    std::string decimalSeparator = ".";
    std::string clipboard;
    bool clipboardBusy = false; // another program holds the clipboard open
    bool settingsApp = true;
    // The keys of another keyboard layout that is active, where they type something else than
    // the US layout does: virtual key to the text it types.
    std::map<std::uint32_t, std::string> otherLayout;
    bool quit = false;
    WindowHandle foreground = 0;
    std::vector<WindowHandle> zOrder; // topmost first
    std::map<WindowHandle, FakeWindow> windows;
    std::deque<MessageBoxResult> messageBoxAnswers; // answers to give, Yes/Ok when empty
    std::vector<FakeMessageBox> messageBoxes;
    std::vector<FakeLaunch> launches;
    bool launchesThrow = false;     // ShellOpen throws, as a fault inside a command would
    std::vector<std::string> calls; // other operations, in order, for tests to read
    std::map<KnownFolder, std::string> specialFolders;
    std::string programFolder = "C:\\Program Files\\Tovlen";
    std::vector<InstalledApp> installedApps;
    std::set<std::string> iconFaults; // ExtractFileIcon throws for these files
    bool shutdownPrivilegeGranted = true;
    std::map<std::string, std::string> settings; // "app\\section\\key"
    std::set<Form*> liveForms;
    bool internetConnected = true;
    std::optional<VersionNumber> programVersion; // none: as if the program had no version resource
    // What the held-file operations answer; a file can be held when it exists.
    SignatureCheck signature;
    bool heldProgramStarts = true;
    int filesHeld = 0; // held now
    std::map<WindowHandle, int> opacity;
    // Dialog answers, taken in order; an empty queue answers as if the user cancelled.
    std::deque<std::optional<std::string>> openFileAnswers;
    std::vector<OpenFileRequest> openFileRequests;
    std::deque<std::optional<std::string>> folderAnswers;
    int folderRequests = 0;
    std::deque<std::string> inputBoxAnswers;
    std::vector<FakeInputBox> inputBoxes;
    std::vector<WindowHandle> dialogOwners;
    // Events that arrive while the program waits for a message: each RunOneMessage runs the next.
    std::deque<std::function<void()>> arrivingEvents;
    std::vector<int> opacityHistory;               // every opacity set, in order
    std::vector<ShortcutRequest> shortcuts;        // every CreateShortcut call
    std::set<std::string> readOnlyFolders;         // CreateShortcut fails there
    std::set<std::string> programsOthersCanChange; // every other path only administrators can change
    std::optional<FakeTrayIcon> trayIcon;
    int trayIconsAdded = 0;
    std::vector<FakeBalloon> balloons;                   // every ShowTrayBalloon call
    std::deque<std::optional<ControlName>> popupChoices; // item names to choose; none dismisses
    std::vector<std::string> popupsShown;                // owner form names
    MonotonicTime now{};
    std::vector<std::string> logLines; // every Log call, in order
    // Background work waits here until it is run; its hand-overs wait until they are delivered.
    // Unless `holdBackground` is set, RunPending runs both, as a quick worker would.
    std::deque<BackgroundWork> backgroundWork;
    std::deque<HandOver> handOvers;
    bool holdBackground = false;
    bool RunBackgroundWork(); // the oldest queued work; false when there is none
    void DeliverHandOvers();
    void FinishBackground(); // work and hand-overs until none is left
    std::vector<std::shared_ptr<FakeFolderWatch>> folderWatches;
    std::set<std::string> unwatchableFolders;
    // A change to the entry at `path`, as the system reports it to every live watch above it
    // that finds it relevant; the watch's report arrives with the next hand-overs.
    void ChangeEntry(const std::string& path);
    std::vector<std::shared_ptr<FakeTimer>> timers;
    // Moves the clock on, firing the timers that fall due on the way, earliest first.
    void AdvanceTime(std::chrono::milliseconds by);
    void AdvanceTimeTo(MonotonicTime when);
    std::optional<SystemColours> highContrast;
    // One monitor with the taskbar along its bottom, unless a test sets others.
    std::vector<Monitor> monitors{Monitor{
        .bounds = {0, 0, 1024, 768}, .workArea = {0, 0, 1024, 728}, .dpi = kBaseDpi, .primary = true}};
    Point cursor{512, 384};
    // Hands the tray icon's owner a mouse event, as the shell would.
    void TrayMouse(MouseMessage message);
    KeyHandler keyHandler;
    MouseHandler mouseHandler;
    std::function<bool()> mouseWanted;
    std::function<void()> wakeHandler;
    bool wakePending = false;
    int wakeRequests = 0;
    bool inputRunning = false;
    // False: StopInput finds the input thread stuck in a handler; it keeps its handlers, and
    // what they hold, and goes on calling them.
    bool inputEndsInTime = true;
    // As Windows drops them: events pass the program unseen until the hooks go in again.
    std::atomic<bool> hooksDropped{false};
    // The input thread installs the mouse hook while its handlers want it, anew each time.
    std::atomic<bool> mouseHookInPlace{false};
    std::atomic<bool> mouseHookDropped{false};
    std::atomic<int> mouseHookCalls{0};
    std::deque<std::function<void()>> hookQueue;
    std::vector<HookDecision> queuedDecisions; // of the queued events, in the order they ran
    std::deque<std::function<void()>> inputWork;
    std::deque<std::function<void()>> mainWork;
    std::function<void(const std::string&)> laterStartHandler;
    bool anotherCopyRuns = false; // ClaimOnlyInstance is false
    // The watchdog hears every key as raw input, hooks dropped or not, stamped with the input
    // clock (the fake clock's milliseconds), and while it listens for the mouse's buttons every
    // mouse event too, moves among them; each hook call notes that clock.
    std::function<void(const WatchdogNews&)> watchdogNews;
    std::deque<WatchdogNews> rawInput; // heard by the system, not yet dispatched to the main thread
    std::atomic<bool> hearingMouseButtons{false};
    std::atomic<int> rawMouseMessages{0}; // mouse events the main thread was woken for
    std::atomic<InputTick> lastKeyboardCall{0};
    std::atomic<InputTick> lastMouseCall{0};

    // Platform.
    bool RunOneMessage() override;
    void PumpPendingMessages() override;
    void SetWakeHandler(std::function<void()> handler) override;
    void RequestWake() override;
    void RaisePriority() override;
    bool StartInput(InputHandlers handlers) override;
    bool StopInput() override;
    void PostToInput(std::function<void()> work) override;
    void PostToMain(std::function<void()> work) override;
    void ListenForWatchdog(std::function<void(const WatchdogNews&)> onNews) override;
    void ListenForMouseButtons(bool listen) override;
    InputTick LastHookCall(InputDevice device) override;
    void ReinstallHooks(const std::string& why) override;
    void DropHooks() override;
    void SetLaterStartHandler(std::function<void(const std::string& commandLine)> handler) override;
    bool ClaimOnlyInstance() override;
    std::string TranslateKey(const KeyEvent& event) override;
    std::string KeyName(std::uint32_t vkCode) override;
    ModifierKeys HeldModifiers() override;
    std::string DecimalSeparator() override;
    bool SetClipboardText(const std::string& text) override;
    WindowHandle ForegroundWindow() override;
    bool RunsElevatedAboveUs(WindowHandle window) override;
    std::string WindowCaption(WindowHandle window) override;
    std::vector<WindowHandle> TopLevelWindows() override;
    bool OwnWindow(WindowHandle window) override;
    WindowHandle TopLevelWindowAt(Point screenPoint) override;
    void RequestWindowClose(WindowHandle window) override;
    void SetShowCommand(WindowHandle window, ShowCommand command) override;
    void BringToFront(WindowHandle window) override;
    void StartScreenSaver(WindowHandle ownWindow) override;
    bool CreateFormWindow(Form& form) override;
    void DestroyFormWindow(Form& form) override;
    void ShowForm(Form& form) override;
    void HideForm(Form& form) override;
    void PlaceForm(Form& form) override;
    void UpdateForm(Form& form) override;
    void MakeTopmost(Form& form) override;
    bool SetLayeredOpacity(WindowHandle window, int alpha) override;
    Size MeasureText(const Font& font, std::string_view text, int dpi) override;
    std::optional<Monitor> MonitorOfWindow(WindowHandle window) override;
    Monitor MonitorOfCursor() override;
    Monitor PrimaryMonitor() override;
    ScaleAwareness ScaleAwarenessOfProcess() override;
    std::optional<SystemColours> HighContrastColours() override;
    PicturePtr LoadResourcePicture(std::string_view name) override;
    PicturePtr LoadPictureFile(const std::string& path) override;
    PicturePtr ExtractFileIcon(const std::string& path, int index) override;
    MessageBoxResult ShowMessageBox(const std::string& text, const std::string& title,
                                    MessageBoxButtons buttons) override;
    std::optional<std::string> ChooseOpenFile(WindowHandle owner, const OpenFileRequest& request) override;
    std::optional<std::string> ChooseFolder(WindowHandle owner, const std::string& title) override;
    std::string InputBox(WindowHandle owner, const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    void ShellOpen(const std::string& file, const std::string& parameters, const std::string& workingFolder,
                   ShowCommand command) override;
    void ShellOpenElevated(const std::string& file, const std::string& parameters,
                           const std::string& workingFolder) override;
    void ShowInFolder(const std::string& path) override;
    bool HasSettingsApp() override;
    std::string SpecialFolder(KnownFolder folder) override;
    std::vector<InstalledApp> ListInstalledApps() override;
    std::string ProgramFolder() override;
    bool InternetConnected() override;
    std::optional<VersionNumber> ProgramVersion() override;
    HeldFilePtr HoldFile(const std::string& path) override;
    SignatureCheck VerifySignature(HeldFile& file) override;
    std::optional<std::string> ReadHeldFile(HeldFile& file, std::uint64_t limit) override;
    bool StartHeldProgram(HeldFile& file, const std::string& arguments,
                          const std::string& workingFolder) override;
    bool EnableShutdownPrivilege() override;
    void EndSession(SessionEnd end) override;
    void LockSession() override;
    std::optional<std::string> ReadSetting(const std::string& app, const std::string& section,
                                           const std::string& key) override;
    void WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& value) override;
    bool CreateShortcut(const ShortcutRequest& request) override;
    bool OnlyAdministratorsCanChange(const std::string& path) override;
    bool AddTrayIcon(Form& owner, const std::string& tip, TrayMouseHandler onMouse) override;
    void RemoveTrayIcon() override;
    void ShowTrayBalloon(const std::string& title, const std::string& text, BalloonIcon icon) override;
    std::optional<std::size_t> ShowPopupMenu(Form& owner) override;
    Size MeasureWrappedText(const Font& font, std::string_view text, int width, int dpi) override;
    MonotonicTime MonotonicNow() override;
    void PumpMessagesUntil(MonotonicTime deadline) override;
    void Log(std::string_view line) override;
    void RunInBackground(BackgroundWork work) override;
    FolderWatchPtr WatchFolders(std::vector<FolderWatchRequest> folders,
                                std::function<void()> onChange) override;
    TimerPtr StartTimer(std::chrono::milliseconds after, std::function<void()> onTime) override;
    bool EndThreads() override;

  private:
    // The monitor that shows most of the rectangle, else the nearest.
    const Monitor& MonitorOfRect(const Rect& rect) const;
    void FitToMonitor(Form& form) const;
    bool Threaded() const { return threads_ == FakeThreads::Real; }
    // Runs a hook call on the input thread, after the work posted there before it, and waits
    // for its answer, as the system waits for a hook.
    HookDecision CallHook(std::function<HookDecision()> hook);
    void RunInputWork();
    void RunOnInputThread(const std::function<void()>& work);
    void InputLoop();
    void UpdateMouseHook();
    InputTick InputClock() const;
    void HearRawInput(InputDevice device, std::uint32_t vkCode, bool keyDown);
    void DeliverRawInput();
    void RunMainWork();
    bool HasPendingLocked() const;
    void JoinThreads();

    FakeThreads threads_;
    WindowHandle nextHandle_ = 0x1000;
    // Held only to add or take queued work and events, never while they run; it also keeps
    // what the input thread reads of the screen (the foreground, the windows) in step.
    mutable std::mutex lock_;
    std::condition_variable mainWake_;
    std::condition_variable inputWake_;
    std::thread inputThread_;
    bool inputThreadRuns_ = false; // hook calls and posted work go to it
    bool inputQuit_ = false;
    std::vector<std::thread> workers_;
    int workersRunning_ = 0;
    std::atomic<bool> hearingKeys_{false};
    std::map<WindowHandle, Rect> shownForms_; // where the program's visible windows are on screen
};

} // namespace tov

#pragma once
// The platform on a real Windows desktop.
#include "platform/platform.h"
#include "platform/win32/background_win32.h"
#include "platform/win32/input_thread_win32.h"
#include "platform/win32/win32_handles.h"

#include <shellapi.h>

#include "platform/event_log.h"

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>

namespace tov {

class Win32Platform : public Platform {
  public:
    Win32Platform();
    ~Win32Platform() override;

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
    Size MeasureText(const Font& font, std::string_view text) override;
    Size ScreenSize() override;
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
    std::string ProgramFolder() override;
    std::vector<InstalledApp> ListInstalledApps() override;
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
    Size MeasureWrappedText(const Font& font, std::string_view text, int width) override;
    MonotonicTime MonotonicNow() override;
    void PumpMessagesUntil(MonotonicTime deadline) override;
    void Log(std::string_view line) override;
    void RunInBackground(BackgroundWork work) override;
    FolderWatchPtr WatchFolders(std::vector<FolderWatchRequest> folders,
                                std::function<void()> onChange) override;
    TimerPtr StartTimer(std::chrono::milliseconds after, std::function<void()> onTime) override;
    bool EndThreads() override;

    // Form pixels are 96-DPI pixels; the screen may have more.
    int ToScreen(int logical) const;
    int FromScreen(int physical) const;
    HFONT FontFor(const Font& font);
    HINSTANCE Instance() const { return instance_; }
    void RegisterFormClasses();
    // Tab, the arrows and the mnemonics for the controls of a window with a caption bar;
    // true when the message was used up.
    bool HandleDialogKeys(MSG& msg);

  private:
    static LRESULT CALLBACK WakeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    static LRESULT CALLBACK TrayOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR data) noexcept;

    // The service window: a message-only window of the main thread that takes the work posted
    // to the main thread, the watchdog's raw input and session news, and later starts' requests.
    static LRESULT CALLBACK ServiceWindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) noexcept;
    void CreateServiceWindow();
    LRESULT Serve(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RunMainWork();
    void HearRawInput(HRAWINPUT input);
    void TellWatchdog(const WatchdogNews& news);
    bool HearLaterStart(const COPYDATASTRUCT& data);

    HINSTANCE instance_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    win32::UniqueWindow wakeWindow_;
    bool wakePosted_ = false;
    std::function<void()> wakeHandler_;
    std::map<std::tuple<std::string, int, bool>, win32::UniqueGdiObject> fonts_;
    // The tray icon's record, kept from the add to the delete so a restarted shell gets it again.
    NOTIFYICONDATAW trayRecord_{};
    bool trayWanted_ = false;
    TrayMouseHandler trayHandler_;
    UINT taskbarCreated_ = 0;
    // Any thread may log; the file is found on first use.
    std::mutex logLock_;
    std::optional<EventLog> log_;
    // Made on first use, on this thread.
    win32::Background& BackgroundSupport();
    std::unique_ptr<win32::Background> background_;

    std::unique_ptr<win32::InputThread> input_;
    bool inputStuck_ = false; // an input thread that did not end in time holds this platform
    win32::UniqueWindow serviceWindow_;
    // Held only to add or take work, never while work runs.
    std::mutex mainWorkLock_;
    std::deque<std::function<void()>> mainWork_;
    bool mainWorkPosted_ = false;
    std::function<void(const WatchdogNews&)> watchdogNews_;
    bool hearingMouse_ = false;
    HPOWERNOTIFY resumeNotification_ = nullptr;
    std::function<void(const std::string&)> laterStartHandler_;
    win32::UniqueHandle instanceMutex_;
    bool ownsInstanceMutex_ = false;
};

KeyMessage ToKeyMessage(WPARAM message);

// The mouse message of a hook event or a tray icon's callback, in the platform's terms.
MouseMessage ToMouseMessage(UINT message);

} // namespace tov

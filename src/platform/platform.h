#pragma once
// Every Windows operation the program uses goes through this interface. The Win32
// implementation lives in platform/win32, the fake one that tests drive in platform/fake.
// Text crossing the seam is UTF-8; paths use backslashes as on Windows.
#include "platform/background.h"
#include "platform/types.h"
#include "ui/form.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

enum class MessageBoxButtons { Ok, YesNo };
enum class MessageBoxResult { Ok, Cancel, Yes, No };

// How a window is shown: by a launch, or as the placement another program's window is put in.
enum class ShowCommand { Show, Normal, Maximize, Minimize };

// The system's folders that the program reads or writes; the "Common" ones are every user's.
enum class KnownFolder {
    Programs,
    CommonPrograms,
    Favorites,
    CommonFavorites,
    Startup,
    CommonStartup,
    AppData,
    LocalAppData
};

// A version resource's numbers, as VS_FIXEDFILEINFO holds them.
struct VersionNumber {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t revision = 0;
    std::uint16_t build = 0;
    // Ordered as releases are: by major, then minor, revision and build.
    auto operator<=>(const VersionNumber&) const = default;
};

// What the system makes of a file's Authenticode signature.
enum class SignatureVerdict {
    Trusted,                  // intact, chained to a trusted root, no certificate revoked
    TrustedRevocationUnknown, // the same, but whether a certificate is revoked could not be learnt
    Revoked,                  // a certificate of the chain is revoked
    Refused,                  // unsigned, changed after signing, or vouched for by no trusted root
};

struct SignatureCheck {
    SignatureVerdict verdict = SignatureVerdict::Refused;
    // SHA-256 of the signing certificate's SubjectPublicKeyInfo (its DER bytes), lower-case
    // hex; empty when there is no signer to speak of.
    std::string signerKeyHash;
};

// A file opened so that, while it is held, nobody else can write, rename or delete it:
// what is checked through it is what runs.
class HeldFile {
  public:
    virtual ~HeldFile() = default;
    virtual const std::string& Path() const = 0;
};
using HeldFilePtr = std::unique_ptr<HeldFile>;

// The modifier keys held down, either side of the keyboard.
enum class ModifierKeys : unsigned { None = 0, Shift = 1u << 0, Control = 1u << 1, Alt = 1u << 2 };
template <> inline constexpr bool kIsFlagSet<ModifierKeys> = true;

// What a tray balloon shows beside its text.
enum class BalloonIcon { Warning, Information };

// How the session ends: LogOff, Shutdown or Reboot, with Force added to close programs
// without asking them.
enum class SessionEnd : unsigned { LogOff = 0, Shutdown = 1u << 0, Reboot = 1u << 1, Force = 1u << 2 };
template <> inline constexpr bool kIsFlagSet<SessionEnd> = true;

// The standard open-file dialog's inputs.
struct OpenFileRequest {
    std::string title;
    std::string initialFolder;
    std::string defaultExtension; // such as ".exe"; empty for none
    std::string filter;           // a pattern such as "*.exe"; empty for every file
};

// A shell link to write at `folder` + "\" + `name` + ".lnk".
struct ShortcutRequest {
    std::string targetPath;
    std::string folder;
    std::string name;
    std::string workingDirectory;
    int windowStyle = 0;
    int iconIndex = 0; // of the target's icons
};

// An app of the shell's Applications folder, as the Start menu lists it: Store apps such as
// Calculator as well as desktop programs.
struct InstalledApp {
    std::string name;           // the display name
    std::string appUserModelId; // its parsing name in the folder, opened as shell:AppsFolder\<id>
};

// The system's colours, as a high-contrast theme sets them.
struct SystemColours {
    Colour window = 0;
    Colour windowText = 0;
    Colour grayText = 0;
    Colour highlight = 0;
    Colour highlightText = 0;
};

using MonotonicTime = std::chrono::steady_clock::time_point;
using TrayMouseHandler = std::function<void(MouseMessage)>;

class Platform {
  public:
    virtual ~Platform() = default;

    // The main thread's message loop.
    // Retrieves and dispatches one message; false once the thread's quit message arrives.
    virtual bool RunOneMessage() = 0;
    // Dispatches whatever is waiting and returns (the classic DoEvents).
    virtual void PumpPendingMessages() = 0;
    // The wake handler runs from message dispatch, also inside nested loops such as a
    // message box, soon after RequestWake; several requests may fold into one call.
    virtual void SetWakeHandler(std::function<void()> handler) = 0;
    virtual void RequestWake() = 0;
    // The main thread a step above normal programs, the process with them in the normal class.
    virtual void RaisePriority() = 0;

    // The input thread: a thread of the platform's own that installs the low-level hooks (the
    // mouse hook only while `handlers.mouseWanted` says so) and runs a message loop that does
    // nothing else, so that no work of the main thread can keep a key of the desktop waiting.
    // `handlers` run there, one event at a time; they decide from what that thread owns and
    // never wait for the main thread. StartInput is false when the keyboard hook could not be
    // installed; StopInput removes the hooks and ends the thread, and is false when the thread
    // did not end in time: it may then still run the handlers, so what they hold must stay
    // alive, this platform with it. Both are called on the main thread.
    virtual bool StartInput(InputHandlers handlers) = 0;
    virtual bool StopInput() = 0;
    // Windows removes a low-level hook without a word when it once answers too slowly. What a
    // watchdog needs to notice it, on the main thread: the news it hears apart from the hook
    // chain (null stops it), the system's clock at the latest call of each hook (any thread),
    // and the hooks installed again at the head of the chain, with the reason logged. The news
    // is of keys alone unless ListenForMouseButtons asks for the mouse's too: raw input of the
    // mouse hears every move, and so it is heard only while a click matters.
    virtual void ListenForWatchdog(std::function<void(const WatchdogNews&)> onNews) = 0;
    virtual void ListenForMouseButtons(bool listen) = 0;
    virtual InputTick LastHookCall(InputDevice device) = 0;
    virtual void ReinstallHooks(const std::string& why) = 0;
    // Removes both hooks as Windows drops them, telling nobody: for the end-to-end tests.
    virtual void DropHooks() = 0;
    // The two threads' exchange; either may be called from any thread, and work runs in the
    // order it was posted. PostToInput runs `work` on the input thread between two hook calls
    // (at once on the caller's thread while there is no input thread, as nothing else owns its
    // values then). PostToMain runs `work` on the main thread from message dispatch, also inside
    // nested loops such as a message box, like the wake handler.
    virtual void PostToInput(std::function<void()> work) = 0;
    virtual void PostToMain(std::function<void()> work) = 0;
    // A later start of the program in the same session hands over its command line, as the
    // system gave it (the program's own name first), and ends; the handler runs on the main thread.
    virtual void SetLaterStartHandler(std::function<void(const std::string& commandLine)> handler) = 0;
    // One running copy per session: true when this process is it. Otherwise this process's
    // command line went to the copy that runs, and this one is to end quietly.
    virtual bool ClaimOnlyInstance() = 0;

    // Keyboard translation with the keyboard state of the moment and the keyboard layout of the
    // window in front; empty when the key gives no character. A dead key gives its accent.
    virtual std::string TranslateKey(const KeyEvent& event) = 0;
    virtual std::string KeyName(std::uint32_t vkCode) = 0;
    // The modifier keys held down at this moment; the keyboard hook asks, on the input thread.
    virtual ModifierKeys HeldModifiers() = 0;
    // The decimal separator of the user's number format: "." or "," or another.
    virtual std::string DecimalSeparator() = 0;
    // Puts the text on the clipboard in place of what it held; false when the clipboard could
    // not be had (another program holding it open).
    virtual bool SetClipboardText(const std::string& text) = 0;

    // Other programs' windows.
    virtual WindowHandle ForegroundWindow() = 0;
    virtual std::string WindowCaption(WindowHandle window) = 0;
    virtual std::vector<WindowHandle> TopLevelWindows() = 0; // Z order, topmost first
    virtual bool OwnWindow(WindowHandle window) = 0;         // one of this program's windows
    virtual WindowHandle TopLevelWindowAt(Point screenPoint) = 0;
    // Requests to other programs' windows; none of them waits on a window that does not answer.
    virtual void RequestWindowClose(WindowHandle window) = 0;
    virtual void SetShowCommand(WindowHandle window,
                                ShowCommand command) = 0; // the placement's, the rest kept
    virtual void BringToFront(WindowHandle window) = 0;
    // Asks the system for the screen saver through one of the program's own windows.
    virtual void StartScreenSaver(WindowHandle ownWindow) = 0;

    // The program's own windows, made from forms.
    virtual bool CreateFormWindow(Form& form) = 0;
    virtual void DestroyFormWindow(Form& form) = 0;
    virtual void ShowForm(Form& form) = 0;
    virtual void HideForm(Form& form) = 0;
    virtual void PlaceForm(Form& form) = 0;  // moves and sizes it to form.rect
    virtual void UpdateForm(Form& form) = 0; // controls changed: bring the window in step
    virtual void MakeTopmost(Form& form) = 0;
    virtual bool SetLayeredOpacity(WindowHandle window, int alpha) = 0;
    virtual Size MeasureText(const Font& font, std::string_view text) = 0;
    virtual Size ScreenSize() = 0;
    // The system's colours while a high-contrast theme is on; none otherwise.
    virtual std::optional<SystemColours> HighContrastColours() = 0;

    // Pictures: a resource of the program by name, a picture or icon file, or icon `index` of a file.
    virtual PicturePtr LoadResourcePicture(std::string_view name) = 0;
    virtual PicturePtr LoadPictureFile(const std::string& path) = 0;
    virtual PicturePtr ExtractFileIcon(const std::string& path, int index) = 0;

    virtual MessageBoxResult ShowMessageBox(const std::string& text, const std::string& title,
                                            MessageBoxButtons buttons) = 0;

    // Modal dialogs owned by one of the program's windows (0: none). The file and folder
    // choosers give the chosen full path, nothing when the user cancels; the input box gives
    // the text entered, an empty text when the user cancels.
    virtual std::optional<std::string> ChooseOpenFile(WindowHandle owner, const OpenFileRequest& request) = 0;
    virtual std::optional<std::string> ChooseFolder(WindowHandle owner, const std::string& title) = 0;
    virtual std::string InputBox(WindowHandle owner, const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;

    // Shell and system folders.
    virtual void ShellOpen(const std::string& file, const std::string& parameters,
                           const std::string& workingFolder, ShowCommand command) = 0;
    // Starts the file as administrator, the system asking the user's consent first. Neither
    // the answer nor Explorer is waited for: a refusal, like a start that fails, comes to nothing.
    virtual void ShellOpenElevated(const std::string& file, const std::string& parameters,
                                   const std::string& workingFolder) = 0;
    // Asks Explorer to open the folder that holds `path` with that file or folder selected;
    // a path the shell does not know comes to nothing.
    virtual void ShowInFolder(const std::string& path) = 0;
    // Whether this Windows has the Settings app, which opens the "ms-settings:" addresses.
    virtual bool HasSettingsApp() = 0;
    virtual std::string SpecialFolder(KnownFolder folder) = 0; // empty when it cannot be resolved
    virtual std::string ProgramFolder() = 0; // folder of the running program, no trailing backslash
    // The shell's Applications folder; empty where it cannot be listed (older Windows, Wine).
    virtual std::vector<InstalledApp> ListInstalledApps() = 0;

    // Updates. Whether the system reports a connection to the Internet; the program's own
    // version resource.
    virtual bool InternetConnected() = 0;
    virtual std::optional<VersionNumber> ProgramVersion() = 0;
    // Opens an existing file for reading, denying write and delete to everyone else; nothing
    // when it cannot be had on those terms.
    virtual HeldFilePtr HoldFile(const std::string& path) = 0;
    // The held file's Authenticode signature, the whole chain checked for revocation.
    virtual SignatureCheck VerifySignature(HeldFile& file) = 0;
    // The held file's bytes, read through the same handle; nothing when they cannot be read or
    // pass `limit`.
    virtual std::optional<std::string> ReadHeldFile(HeldFile& file, std::uint64_t limit) = 0;
    // Starts the held file as a program, by its absolute path and no search, with `arguments`
    // after its quoted path; false when it could not be started.
    virtual bool StartHeldProgram(HeldFile& file, const std::string& arguments,
                                  const std::string& workingFolder) = 0;

    // The session. None of these is ever called for real by a test.
    virtual bool EnableShutdownPrivilege() = 0;
    virtual void EndSession(SessionEnd end) = 0;
    virtual void LockSession() = 0;

    // Per-user settings store: application, section, key; every value text.
    virtual std::optional<std::string> ReadSetting(const std::string& app, const std::string& section,
                                                   const std::string& key) = 0;
    virtual void WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                              const std::string& value) = 0;

    // Writes the shortcut whole or not at all (an existing file of that name is replaced);
    // false when the scripting shell is missing or the folder cannot be written.
    virtual bool CreateShortcut(const ShortcutRequest& request) = 0;
    // Whether none but administrators and the system can change the program file at `path`:
    // write it, put files beside it, or rename it or any folder above it out of the way. False
    // when that cannot be told (a network share, a security descriptor that cannot be read).
    virtual bool OnlyAdministratorsCanChange(const std::string& path) = 0;

    // The process's one notification-area icon, with `owner`'s own icon and the tip; its mouse
    // events arrive at `owner`'s window and are handed to `onMouse`. The icon comes back by
    // itself when the shell restarts. RemoveTrayIcon does nothing when there is none.
    virtual bool AddTrayIcon(Form& owner, const std::string& tip, TrayMouseHandler onMouse) = 0;
    virtual void RemoveTrayIcon() = 0;
    // A balloon from the tray icon; nothing when there is no icon.
    virtual void ShowTrayBalloon(const std::string& title, const std::string& text, BalloonIcon icon) = 0;
    // Pops up `owner.popupMenu` at the mouse position and waits for a choice: the index of the
    // chosen item, or none when the user dismissed the menu.
    virtual std::optional<std::size_t> ShowPopupMenu(Form& owner) = 0;

    // The height a label needs when its text is broken into lines at word boundaries to fit `width`.
    virtual Size MeasureWrappedText(const Font& font, std::string_view text, int width) = 0;

    // A clock that never jumps; and a wait that dispatches messages as they come until `deadline`.
    virtual MonotonicTime MonotonicNow() = 0;
    virtual void PumpMessagesUntil(MonotonicTime deadline) = 0;

    // One line of the program's log (see platform/event_log.h); never typed text. Safe on a worker.
    virtual void Log(std::string_view line) = 0;

    // Runs `work` on a worker thread and its hand-over on this thread (see platform/background.h).
    // Of the operations here, only Log, ListInstalledApps and ExtractFileIcon may be used there.
    virtual void RunInBackground(BackgroundWork work) = 0;
    // Calls `onChange` on this thread after a relevant change below any of the folders; null
    // when none of them can be watched.
    virtual FolderWatchPtr WatchFolders(std::vector<FolderWatchRequest> folders,
                                        std::function<void()> onChange) = 0;
    // Calls `onTime` on this thread, from message dispatch, once `after` has passed.
    virtual TimerPtr StartTimer(std::chrono::milliseconds after, std::function<void()> onTime) = 0;
    // At the program's end: stops the input thread, hands nothing over any more, and waits a short
    // while for background work still running. False when a thread of the platform's own still
    // runs and may call it: the platform must then stay alive until the process ends.
    virtual bool EndThreads() = 0;
};

} // namespace tov

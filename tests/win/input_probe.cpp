// Runs the platform's input thread alone, without the program, so that an end-to-end test can
// see what it does under Wine:
// - without arguments, with the watchdog: every key press the hook sees is counted, a press of Q
//   ends the probe, and a later start with /test-drop-hooks drops the hooks as Windows does, for
//   the watchdog to bring back; the count goes to the program's log;
// - with /swallow-reinstalling SECONDS: the hook swallows every key while the hooks are installed
//   again and again for that long, so a key that reaches the window typed into slipped past
//   between an old hook and a new one.
#include "app/later_start.h"
#include "input/hook_watchdog.h"
#include "platform/win32/win32_platform.h"

#include <atomic>
#include <cstdlib>
#include <string>

namespace {

constexpr DWORD kReinstallPauseMs = 1;

int CountKeysWithTheWatchdog(tov::Win32Platform& platform) {
    std::atomic<int> presses{0};
    bool running = true;
    tov::State state; // what the later start's switches need
    tov::HookWatchdog dog;
    platform.SetLaterStartHandler(
        [&](const std::string& commandLine) { tov::ServeLaterStart(platform, state, commandLine); });
    platform.StartInput({[&](const tov::KeyEvent& e) {
                             if (e.message != tov::KeyMessage::KeyDown)
                                 return tov::HookDecision::Pass;
                             ++presses;
                             if (e.vkCode == 'Q')
                                 platform.PostToMain([&] { running = false; });
                             return tov::HookDecision::Pass;
                         },
                         nullptr, nullptr});
    tov::StartHookWatchdog(platform, dog);
    while (running && platform.RunOneMessage()) {
    }
    tov::StopHookWatchdog(platform, dog);
    platform.StopInput();
    platform.Log("probe: the hook saw " + std::to_string(presses.load()) + " key presses");
    return 0;
}

int SwallowWhileReinstalling(tov::Win32Platform& platform, DWORD seconds) {
    std::atomic<int> swallowed{0};
    std::atomic<int> reinstalled{0};
    {
        tov::win32::InputThread input(platform.Instance(),
                                      {[&](const tov::KeyEvent&) {
                                           ++swallowed;
                                           return tov::HookDecision::Swallow;
                                       },
                                       nullptr, [] { return false; }},
                                      [&](const std::string& line) {
                                          if (line.rfind("Hooks installed again", 0) == 0)
                                              ++reinstalled;
                                      });
        platform.Log("probe: swallowing every key while installing the hooks again and again");
        const ULONGLONG end = GetTickCount64() + seconds * 1000ULL;
        while (GetTickCount64() < end) {
            input.ReinstallHooks("probe");
            Sleep(kReinstallPauseMs);
        }
    }
    platform.Log("probe: " + std::to_string(reinstalled.load()) + " re-installations, " +
                 std::to_string(swallowed.load()) + " key events swallowed");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    tov::Win32Platform platform;
    if (argc == 3 && std::string(argv[1]) == "/swallow-reinstalling")
        return SwallowWhileReinstalling(platform, static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    if (!platform.ClaimOnlyInstance())
        return 0;
    return CountKeysWithTheWatchdog(platform);
}

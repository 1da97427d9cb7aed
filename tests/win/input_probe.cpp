// Runs the platform's input thread and the hook watchdog alone, without the rest of the program,
// so an end-to-end test can drop the hooks and see them come back: every key press the hook sees
// is counted, a press of Q ends the probe, and the count goes to the program's log.
#include "app/later_start.h"
#include "input/hook_watchdog.h"
#include "platform/win32/win32_platform.h"

#include <atomic>
#include <string>

int main() {
    tov::Win32Platform platform;
    if (!platform.ClaimOnlyInstance())
        return 0;
    std::atomic<int> presses{0};
    bool running = true;
    platform.StartInput({[&](const tov::KeyEvent& e) {
                             if (e.message != tov::KeyMessage::KeyDown)
                                 return tov::HookDecision::Pass;
                             ++presses;
                             if (e.vkCode == 'Q')
                                 platform.PostToMain([&] { running = false; });
                             return tov::HookDecision::Pass;
                         },
                         nullptr});
    tov::HookWatchdog watchdog;
    tov::StartHookWatchdog(platform, watchdog);
    platform.SetLaterStartHandler([&platform](const std::string& commandLine) {
        if (tov::ParseLaterStart(tov::ArgumentsOf(commandLine)).request ==
            tov::LaterStartRequest::DropHooks) {
            platform.Log("Dropping the hooks, as asked for a test");
            platform.DropHooks();
        }
    });
    while (running && platform.RunOneMessage()) {
    }
    tov::StopHookWatchdog(platform, watchdog);
    platform.StopInput();
    platform.Log("probe: the hook saw " + std::to_string(presses.load()) + " key presses");
    return 0;
}

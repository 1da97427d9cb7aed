#pragma once
// What a later start of the program, in the same session, asks of the copy that runs: the later
// copy hands over its command line and ends. Besides the plain start, two switches let a test
// from outside do to the running copy what Windows may do to it.
#include "input/state.h"
#include "platform/platform.h"

#include <chrono>
#include <string>
#include <string_view>

namespace tov {

enum class LaterStartRequest {
    Activate,  // a plain start: open the command window as the activation key would
    DropHooks, // "/test-drop-hooks": remove the hooks as Windows does, telling nobody
    Busy,      // "/test-busy MS": keep the main thread from its messages for MS milliseconds
    Unknown,   // anything else: ignored
};

// The setting that lets the test switches act: present and "1" only where the end-to-end tests
// run. Without it a start with a switch is a plain start.
inline constexpr const char* kTestSwitchesSetting = "testswitches";

// The longest a "/test-busy" may keep the main thread, so that a stray start cannot freeze it.
constexpr std::chrono::milliseconds kLongestBusy{10000};

struct LaterStart {
    LaterStartRequest request = LaterStartRequest::Activate;
    std::chrono::milliseconds busy{0};
};

// The command line without the program's own name, as a later start passes it.
LaterStart ParseLaterStart(std::string_view arguments);

// A whole command line as Windows gives it, without the program's name at its head (quoted or
// not), as a later start passes it on.
std::string_view ArgumentsOf(std::string_view commandLine);

// Main thread: carries out what a later start with `commandLine` asks.
void ServeLaterStart(Platform& platform, State& state, const std::string& commandLine);

} // namespace tov

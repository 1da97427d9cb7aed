#include "app/later_start.h"

#include "input/hooks.h"
#include "platform/settings_store.h"

#include <algorithm>
#include <charconv>
#include <thread>

namespace tov {

namespace {

constexpr std::string_view kDropHooksSwitch = "/test-drop-hooks";
constexpr std::string_view kBusySwitch = "/test-busy";
constexpr std::string_view kBlanks = " \t\r\n";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

} // namespace

LaterStart ParseLaterStart(std::string_view arguments) {
    const std::string_view line = Trimmed(arguments);
    if (line.empty())
        return {};
    if (line == kDropHooksSwitch)
        return {LaterStartRequest::DropHooks};
    if (line.substr(0, kBusySwitch.size()) != kBusySwitch || line.size() == kBusySwitch.size() ||
        kBlanks.find(line[kBusySwitch.size()]) == std::string_view::npos)
        return {LaterStartRequest::Unknown};
    const std::string_view number = Trimmed(line.substr(kBusySwitch.size()));
    unsigned long long ms = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), ms);
    if (error == std::errc::result_out_of_range)
        return {LaterStartRequest::Busy, kLongestBusy};
    if (error != std::errc() || end != number.data() + number.size())
        return {LaterStartRequest::Unknown};
    const auto longest = static_cast<unsigned long long>(kLongestBusy.count());
    return {LaterStartRequest::Busy, std::chrono::milliseconds(ms < longest ? ms : longest)};
}

std::string_view ArgumentsOf(std::string_view commandLine) {
    std::size_t end = 0;
    if (!commandLine.empty() && commandLine.front() == '"') {
        const std::size_t closing = commandLine.find('"', 1);
        end = closing == std::string_view::npos ? commandLine.size() : closing + 1;
    } else {
        end = std::min(commandLine.find_first_of(kBlanks), commandLine.size());
    }
    return Trimmed(commandLine.substr(end));
}

void ServeLaterStart(Platform& platform, State& state, const std::string& commandLine) {
    LaterStart start = ParseLaterStart(ArgumentsOf(commandLine));
    // Any program of the session can start Tovlen with these switches; only a machine set up
    // for the end-to-end tests lets them do to the running copy what they say.
    const bool testSwitch =
        start.request == LaterStartRequest::DropHooks || start.request == LaterStartRequest::Busy;
    if (testSwitch && platform.ReadSetting(kAppName, kSettingsSection, kTestSwitchesSetting) != "1")
        start = LaterStart{};
    switch (start.request) {
    case LaterStartRequest::Activate:
        OpenCommandLine(platform, state);
        break;
    case LaterStartRequest::DropHooks:
        platform.Log("Dropping the hooks, as asked for a test");
        platform.DropHooks();
        break;
    case LaterStartRequest::Busy:
        platform.Log("Keeping the main thread busy for " + std::to_string(start.busy.count()) +
                     " ms, as asked for a test");
        std::this_thread::sleep_for(start.busy);
        break;
    case LaterStartRequest::Unknown:
        platform.Log("A later start asked for something unknown; ignored");
        break;
    }
}

} // namespace tov

#include "app/app.h"
#include "app/catalogue_build.h"
#include "app/contexts.h"
#include "commands/dispatch.h"
#include "commands/session.h"
#include "platform/fake/fake_platform.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

struct SessionCase {
    const char* line;
    const char* question;
    const char* effect;
};
const SessionCase kSessionCases[] = {
    {"logoff", "Are you sure you want to logoff now?", "EndSession 0"},
    {"reboot", "Are you sure you want to reboot now?", "EndSession 2"},
    {"shutdown", "Are you sure you want to shutdown now?", "EndSession 1"},
    {"shutdown (force)", "Are you sure you want to shutdown now?", "EndSession 5"},
    {"lock computer", "Are you sure you want to lock the computer now?", "LockSession"},
};

bool Called(const FakePlatform& platform, const std::string& call) {
    return std::find(platform.calls.begin(), platform.calls.end(), call) != platform.calls.end();
}

TEST(SessionCommands, ConfirmedAnsweredAndUnconfirmed) {
    for (const auto& [line, question, effect] : kSessionCases) {
        SCOPED_TRACE(line);
        {
            FakePlatform platform;
            App app(platform);
            app.state.CheckBeforeShutdown = 1;
            platform.messageBoxAnswers = {MessageBoxResult::Yes};
            EXPECT_TRUE(RunCommand(app, line).carriedOut);
            ASSERT_EQ(platform.messageBoxes.size(), 1u);
            EXPECT_EQ(platform.messageBoxes[0].text, question);
            EXPECT_EQ(platform.messageBoxes[0].title, "Tovlen");
            EXPECT_EQ(platform.messageBoxes[0].buttons, MessageBoxButtons::YesNo);
            EXPECT_TRUE(Called(platform, effect));
        }
        {
            FakePlatform platform;
            App app(platform);
            app.state.CheckBeforeShutdown = -1;
            platform.messageBoxAnswers = {MessageBoxResult::No};
            const DispatchResult r = RunCommand(app, line);
            EXPECT_TRUE(r.carriedOut); // asked and refused: nothing else may run for it
            EXPECT_FALSE(r.keepOpen);
            EXPECT_EQ(platform.messageBoxes.size(), 1u);
            EXPECT_TRUE(platform.calls.empty());
        }
        {
            FakePlatform platform;
            App app(platform);
            app.state.CheckBeforeShutdown = 0;
            EXPECT_TRUE(RunCommand(app, line).carriedOut);
            EXPECT_TRUE(platform.messageBoxes.empty());
            EXPECT_TRUE(Called(platform, effect));
        }
    }
}

TEST(SessionCommands, EndsOnlyWithTheShutdownPrivilegeAndLocksWithout) {
    {
        FakePlatform platform;
        ExitSession(platform, SessionEnd::Reboot);
        EXPECT_EQ(platform.calls, (std::vector<std::string>{"EnableShutdownPrivilege", "EndSession 2"}));
    }
    {
        FakePlatform platform; // the privilege cannot be enabled: nothing happens
        platform.shutdownPrivilegeGranted = false;
        ExitSession(platform, SessionEnd::Shutdown | SessionEnd::Force);
        EXPECT_EQ(platform.calls, (std::vector<std::string>{"EnableShutdownPrivilege"}));
        App app(platform);
        app.state.CheckBeforeShutdown = 0;
        RunCommand(app, "lock computer");
        EXPECT_EQ(platform.calls, (std::vector<std::string>{"EnableShutdownPrivilege", "LockSession"}));
    }
}

} // namespace
} // namespace tov

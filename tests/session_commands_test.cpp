#include "app/app.h"
#include "app/catalogue_build.h"
#include "app/contexts.h"
#include "catalogue/built_in_commands.h"
#include "commands/dispatch.h"
#include "commands/session.h"
#include "platform/fake/fake_platform.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

// What each session command ends up doing; the words and questions are the product's own table.
const std::pair<BuiltInAction, const char*> kSessionEffects[] = {
    {BuiltInAction::LogOff, "EndSession 0"},      {BuiltInAction::Reboot, "EndSession 2"},
    {BuiltInAction::Shutdown, "EndSession 1"},    {BuiltInAction::ShutdownForced, "EndSession 5"},
    {BuiltInAction::LockComputer, "LockSession"},
};

bool Called(const FakePlatform& platform, const std::string& call) {
    return std::find(platform.calls.begin(), platform.calls.end(), call) != platform.calls.end();
}

TEST(SessionCommands, ConfirmedAnsweredAndUnconfirmed) {
    for (const auto& [action, effect] : kSessionEffects) {
        const BuiltInCommand& row = BuiltInCommandOf(action);
        const std::string line(row.text);
        ASSERT_FALSE(row.question.empty()) << line;
        SCOPED_TRACE(line);
        {
            FakePlatform platform;
            App app(platform);
            app.state.CheckBeforeShutdown = 1;
            platform.messageBoxAnswers = {MessageBoxResult::Yes};
            EXPECT_TRUE(RunCommand(app, line).carriedOut);
            ASSERT_EQ(platform.messageBoxes.size(), 1u);
            EXPECT_EQ(platform.messageBoxes[0].text, row.question);
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

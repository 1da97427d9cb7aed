// Faults that unwind through the program, an input thread that does not end, and work on other
// threads that fails: none may leave a flag set for good, a thread reading freed memory, or the
// process ending.
#include "app/app.h"
#include "app/program.h"
#include "platform/fake/fake_platform.h"
#include "suggest/icon_cache.h"
#include "support/temp_folder.h"
#include "update/background_call.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace tov {
namespace {

class ProgramFaults : public ::testing::Test {
  protected:
    ProgramFaults() { platform.settings["Tovlen\\settings\\showwelcome"] = "0"; }
    void Submit(const std::string& line) {
        platform.PressKey(VirtualKey::CapsLock);
        platform.TypeText(line);
        platform.PressKey(VirtualKey::Enter);
        platform.RunPending();
    }
    bool Logged(const std::string& line) const {
        return std::find(platform.logLines.begin(), platform.logLines.end(), line) != platform.logLines.end();
    }
    FakePlatform platform;
};

TEST_F(ProgramFaults, ACommandThatThrowsLeavesTheNextSubmitFree) {
    App app{platform};
    Startup(app);
    platform.launchesThrow = true;
    EXPECT_THROW(Submit("web example.org"), std::runtime_error);
    EXPECT_FALSE(app.inSubmit);
    platform.launchesThrow = false;
    Submit("exit");
    EXPECT_FALSE(app.state.Running);
}

TEST_F(ProgramFaults, TheHooksGoBeforeTheStateTheyReadIsFreed) {
    {
        App app{platform};
        Startup(app);
        // A fault unwinds past Shutdown.
    }
    EXPECT_FALSE(platform.inputRunning);
    EXPECT_EQ(platform.PressKey(VirtualKey::CapsLock), HookDecision::Pass);
}

TEST_F(ProgramFaults, AnInputThreadThatDoesNotEndKeepsWhatItReadsAndWritesNoSummary) {
    testing::TempFolder folder;
    const std::string summary = folder / "latency.txt";
    platform.settings["Tovlen\\settings\\latencyfile"] = summary;
    platform.inputEndsInTime = false;
    {
        App app{platform};
        Startup(app);
        platform.PressKey(VirtualKey::CapsLock);
        platform.RunPending();
        Shutdown(app);
    }
    EXPECT_FALSE(std::filesystem::exists(summary));
    EXPECT_TRUE(Logged("The latency summary was not written: the input thread did not end"));
    // The stuck thread goes on with the line it holds.
    EXPECT_EQ(platform.PressKey('A'), HookDecision::Swallow);
}

TEST(BackgroundWork, AnIconThatCannotBeReadStillLetsTheNextExtractionRun) {
    FakePlatform platform;
    platform.iconFaults = {"C:\\Broken\\tool.exe"};
    IconCache cache;
    std::vector<std::string> ready;
    const auto note = [&ready](const IconKey& key) { ready.push_back(key.file); };
    ExtractIconInBackground(platform, cache, {"C:\\Broken\\tool.exe", 0}, note);
    ExtractIconInBackground(platform, cache, {"C:\\Tools\\fine.exe", 0}, note); // waits for the first
    platform.FinishBackground();
    EXPECT_EQ(ready, (std::vector<std::string>{"C:\\Broken\\tool.exe", "C:\\Tools\\fine.exe"}));
    const CachedIcon* fine = FindCachedIcon(cache, {"C:\\Tools\\fine.exe", 0});
    ASSERT_NE(fine, nullptr);
    EXPECT_TRUE(fine->picture);
}

TEST(BackgroundWork, ALookupThatThrowsGivesNothingInsteadOfEndingTheProcess) {
    BackgroundCall<std::vector<int>> lookup(
        []() -> std::vector<int> { throw std::runtime_error("no resolver"); });
    const auto result = lookup.Wait(std::chrono::seconds(10));
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->empty());
}

} // namespace
} // namespace tov

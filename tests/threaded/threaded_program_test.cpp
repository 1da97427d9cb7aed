// The program on the fake with real threads, as on Windows: the hooks answer on an input thread
// of their own, builds and icons are made on worker threads, and the user types from a thread of
// the test while the main thread runs its loop. The test command runs these under
// ThreadSanitizer, which sees every access that the threads make without order between them.
#include "app/app.h"
#include "app/catalogue_build.h"
#include "app/program.h"
#include "input/hook_watch.h"
#include "platform/fake/fake_platform.h"
#include "suggest/command_window.h"
#include "support/shortcut_writer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace tov {
namespace {

using testing::ProgramLink;
using testing::WriteShortcut;

class ThreadedProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.settings["Tovlen\\settings\\showwelcome"] = "0";
        platform.specialFolders = {{KnownFolder::Programs, programs}};
        platform.programFolder = temp / "Tovlen";
        std::filesystem::create_directories(temp.Path() / "Tovlen");
        for (const char* name : {"Notepad", "Paint", "Calculator"})
            WriteShortcut(temp.Path() / "Programs" / (std::string(name) + ".lnk"),
                          ProgramLink(std::string("C:\\Windows\\") + name + ".exe"));
        Startup(app);
        ASSERT_TRUE(platform.RunUntil([this] { return app.catalogueRefresh.landed; }));
    }
    void TearDown() override {
        Shutdown(app);
        EXPECT_TRUE(platform.EndThreads());
    }
    // The user, on a thread of their own.
    void Type(const std::function<void()>& keys) {
        std::thread user(keys);
        user.join();
    }
    std::string Shown() {
        return app.forms.frmMain && app.forms.frmMain->visible
                   ? app.forms.frmMain->At(frmMain::lblCommand).text
                   : std::string();
    }
    std::size_t Launched(const std::string& file) const {
        return static_cast<std::size_t>(std::count_if(platform.launches.begin(), platform.launches.end(),
                                                      [&](const FakeLaunch& l) { return l.file == file; }));
    }

    testing::TempFolder temp;
    std::string programs = temp / "Programs";
    FakePlatform platform{FakeThreads::Real};
    App app{platform};
};

TEST_F(ThreadedProgram, KeysTypedWhileTheMainThreadRunsAreShownAndCarriedOut) {
    std::thread user([this] {
        platform.PressKey(VirtualKey::CapsLock);
        platform.TypeText("paint");
        platform.PressKey(VirtualKey::Enter);
        platform.PressKey(VirtualKey::CapsLock);
        platform.TypeText("note");
    });
    EXPECT_TRUE(
        platform.RunUntil([this] { return Launched("C:\\Windows\\Paint.exe") == 1 && Shown() == "note"; }));
    user.join();
    EXPECT_EQ(app.forms.frmMain->At(frmMain::lblCommandBack).text, "run notepad");
}

TEST_F(ThreadedProgram, AMainThreadThatIsAwayKeepsNoKeyWaiting) {
    // The main thread runs nothing while the user types a long line.
    Type([this] {
        platform.PressKey(VirtualKey::CapsLock);
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(platform.TypeText("calc "), HookDecision::Swallow);
    });
    std::string line;
    for (int i = 0; i < 40; ++i)
        line += "calc ";
    EXPECT_TRUE(platform.RunUntil([&] { return Shown() == line; }));
}

TEST_F(ThreadedProgram, RebuildsLandWhileTheUserTypes) {
    WriteShortcut(temp.Path() / "Programs" / "Pinball.lnk", ProgramLink("C:\\Games\\pinball.exe"));
    std::thread user([this] {
        platform.PressKey(VirtualKey::CapsLock);
        platform.TypeText("pinb");
    });
    for (int build = 0; build < 5; ++build)
        BuildCatalogue(app);
    EXPECT_TRUE(platform.RunUntil([this] {
        return !app.catalogueRefresh.building && Shown() == "pinb" &&
               app.forms.frmMain->At(frmMain::lblCommandBack).text == "run pinball";
    }));
    user.join();
    platform.FinishBackground();
}

TEST_F(ThreadedProgram, DisablingAndRemappingMeetKeysFromAnotherThread) {
    std::thread user([this] {
        for (int i = 0; i < 20; ++i) {
            platform.PressKey(VirtualKey::CapsLock);
            platform.TypeText("x");
            platform.PressKey(VirtualKey::Escape);
        }
    });
    for (int i = 0; i < 10; ++i) {
        TellEnabled(platform, app.state, i % 2 == 1);
        platform.RunPending();
    }
    user.join();
    EXPECT_TRUE(platform.RunUntil([this] { return !app.state.WindowOpen; }));

    app.state.CapturingKey = true;
    TellCapture(platform, app.state);
    Type([this] { EXPECT_EQ(platform.PressKey(VirtualKey::F8), HookDecision::Swallow); });
    EXPECT_TRUE(platform.RunUntil(
        [this] { return app.state.ActivationKey == static_cast<std::int16_t>(KeyCode(VirtualKey::F8)); }));
    Type([this] { EXPECT_EQ(platform.PressKey(VirtualKey::F8), HookDecision::Swallow); });
    EXPECT_TRUE(platform.RunUntil([this] { return Shown().empty() && app.state.WindowOpen; }));
}

TEST_F(ThreadedProgram, TheWatchdogReadsTheHooksClockWhileKeysArrive) {
    platform.AdvanceTime(kReinstallSpacing);
    platform.DropHooks();
    Type([this] { EXPECT_EQ(platform.PressKey(VirtualKey::CapsLock), HookDecision::Pass); });
    platform.RunPending();
    platform.AdvanceTime(kHookSilence);
    EXPECT_FALSE(platform.hooksDropped);
    Type([this] { EXPECT_EQ(platform.PressKey(VirtualKey::CapsLock), HookDecision::Swallow); });
    EXPECT_TRUE(platform.RunUntil([this] { return app.state.WindowOpen; }));
    // With the line open a click outside reaches the mouse hook, on the input thread.
    Type([this] { platform.Click({900, 700}); });
    EXPECT_TRUE(platform.RunUntil([this] { return !app.state.WindowOpen; }));
    EXPECT_EQ(platform.mouseHookCalls, 1);
}

} // namespace
} // namespace tov

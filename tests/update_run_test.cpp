#include "app/app.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "scripted_server.h"
#include "update/update.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tov {
namespace {

using namespace std::chrono_literals;
using testing::ScriptedReply;
using testing::ScriptedServer;

const std::string kNoUpdate = "This is the current version of Tovlen.";
const std::string kIncomplete = "The update could not be downloaded completely. Please try again later.";
const std::string kConnectError = "There was an error connecting.";
const std::string kNotVerified = "The downloaded update could not be verified, so it was not installed.";

class RunUpdateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("tovlen-update-" + std::to_string(getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        platform_.programFolder = folder_.string();
        platform_.programVersion = VersionNumber{1, 5, 10, 0};
        app_.state.Running = true;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void Serve(const ScriptedServer& server) {
        SaveSetting(platform_, kUpdateHostSetting, server.HostSetting());
    }

    void Run() {
        ExchangeLimits limits;
        limits.connect = 2000ms;
        limits.silence = 300ms;
        limits.slice = 5ms;
        RunUpdate(app_.platform, app_.state, app_.forms, limits);
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const FakeMessageBox& box : platform_.messageBoxes) {
            EXPECT_EQ(box.title, "Tovlen");
            EXPECT_EQ(box.buttons, MessageBoxButtons::Ok);
            texts.push_back(box.text);
        }
        return texts;
    }

    std::vector<std::string> FilesInFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string UpdateFile() const { return (folder_ / "updatefile.exe").string(); }

    std::filesystem::path folder_;
    FakePlatform platform_;
    App app_{platform_};
};

std::string OkReply(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

TEST_F(RunUpdateTest, VerifiedInstallerIsSavedExactlyStartedWithTheWindowHandleAndEndsTheProgram) {
    const std::string installer =
        std::string("MZ\0\x01\r\n\r\nHTTP/1.1 200 OK\r\n", 25) + std::string(5000, '\xE9');
    ScriptedServer server({testing::InPieces(OkReply(installer), 333), 1ms});
    Serve(server);
    platform_.signatureTrusted = true;
    Run();

    EXPECT_EQ(server.Request().substr(0, 39), "GET /updates/tovlen1_6_0.exe HTTP/1.1\r\n");
    EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"updatefile.exe"});
    EXPECT_EQ(ReadFileBytes(UpdateFile()), installer);
    ASSERT_EQ(platform_.verifiedFiles.size(), 1u);
    EXPECT_TRUE(IsPlainFile(platform_.verifiedFiles[0]));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Update downloaded, now installing."});

    ASSERT_TRUE(app_.forms.frmUpdate);
    const Form& form = *app_.forms.frmUpdate;
    EXPECT_EQ(form.caption, "Tovlen Auto-Update");
    EXPECT_EQ(form.At("lblStatus").text, "Checking for updates");
    EXPECT_FALSE(form.visible);
    ASSERT_EQ(platform_.launches.size(), 1u);
    EXPECT_EQ(platform_.launches[0].file, platform_.verifiedFiles[0]);
    EXPECT_EQ(platform_.launches[0].parameters, " " + std::to_string(form.handle));
    EXPECT_EQ(platform_.launches[0].workingFolder, folder_.string());
    EXPECT_EQ(platform_.launches[0].showCommand, ShowCommand::Show);
    EXPECT_FALSE(app_.state.Running);
}

TEST_F(RunUpdateTest, UnverifiedInstallerIsDeletedAndNotStarted) {
    ScriptedServer server({{OkReply("unsigned installer")}});
    Serve(server);
    platform_.signatureTrusted = false;
    Run();
    EXPECT_EQ(platform_.verifiedFiles.size(), 1u);
    EXPECT_TRUE(FilesInFolder().empty());
    EXPECT_EQ(Messages(), std::vector<std::string>{kNotVerified});
    EXPECT_TRUE(platform_.launches.empty());
    EXPECT_TRUE(app_.state.Running);
    EXPECT_FALSE(app_.forms.frmUpdate);
}

TEST_F(RunUpdateTest, FailuresWriteNothingAndSayWhy) {
    struct Case {
        ScriptedReply reply;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{{"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"}}, kNoUpdate},
        {{{"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabc"}}, kNoUpdate},
        {{{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n", "only part"}, 10ms}, kIncomplete},
        {{{"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nabc"}}, kIncomplete},
        {{{}, 0ms, /*answer=*/false}, kConnectError},
    };
    // An installer left from before stays as it was.
    ASSERT_TRUE(ReplaceFileContents(UpdateFile(), "old"));
    platform_.signatureTrusted = true;
    for (const Case& c : cases) {
        platform_.messageBoxes.clear();
        ScriptedServer server(c.reply);
        Serve(server);
        Run();
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"updatefile.exe"}) << c.message;
        EXPECT_EQ(ReadFileBytes(UpdateFile()), "old");
        EXPECT_FALSE(app_.forms.frmUpdate); // unloaded, so the next check starts afresh
        EXPECT_EQ(server.Connections(), 1);
    }
    EXPECT_TRUE(platform_.verifiedFiles.empty());
    EXPECT_TRUE(platform_.launches.empty());
    EXPECT_TRUE(app_.state.Running);
}

TEST_F(RunUpdateTest, OfflineOrMisconfiguredChecksContactNoServer) {
    ScriptedServer server({{OkReply("x")}});
    Serve(server);
    platform_.internetConnected = false;
    Run();
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"No internet connection found. Make sure you are connected to the "
                                       "internet before updating."});
    EXPECT_FALSE(app_.forms.frmUpdate);

    platform_.messageBoxes.clear();
    platform_.internetConnected = true;
    SaveSetting(platform_, kUpdateHostSetting, "http://mirror.example/updates");
    Run();
    EXPECT_EQ(Messages(), std::vector<std::string>{kConnectError});
    EXPECT_EQ(server.Connections(), 0);
}

TEST_F(RunUpdateTest, InstallerNameFollowsTheVersionResourceOrTheBuild) {
    platform_.programVersion = VersionNumber{1, 9, 0, 0};
    {
        ScriptedServer server({{"HTTP/1.1 404 Not Found\r\n\r\n"}});
        Serve(server);
        Run();
        EXPECT_EQ(server.Request().substr(0, 40), "GET /updates/tovlen1_10_0.exe HTTP/1.1\r\n");
    }
    platform_.programVersion.reset();
    EXPECT_EQ(ProgramMinorVersion(platform_), TOVLEN_VERSION_MINOR);
}

TEST_F(RunUpdateTest, ASecondUpdateWhileOneIsRunningDoesNothing) {
    ScriptedServer server({{"HTTP/1.1 404 Not Found\r\n", "\r\n"}, 50ms});
    Serve(server);
    int nested = 0;
    platform_.wakeHandler = [&] {
        ++nested;
        RunUpdate(app_.platform, app_.state, app_.forms);
    };
    platform_.RequestWake();
    Run();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{kNoUpdate});
    EXPECT_EQ(server.Connections(), 1);
}

} // namespace
} // namespace tov

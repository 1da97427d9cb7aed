#include "app/app.h"
#include "app/program.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "scripted_server.h"
#include "support/program_image.h"
#include "support/temp_folder.h"
#include "update/install.h"
#include "update/update.h"

#include <algorithm>
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
const std::string kNotNewer =
    "The downloaded update is not newer than this version, so it was not installed.";
const std::string kInstalling = "Update downloaded, now installing.";
const std::string kPinned(64, 'a');
const std::string kStranger(64, 'b');

class RunUpdateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(folder_ / "program");
        std::filesystem::create_directories(folder_ / "local");
        platform_.programFolder = (folder_ / "program").string();
        platform_.specialFolders[KnownFolder::LocalAppData] = (folder_ / "local").string();
        platform_.programVersion = VersionNumber{1, 5, 10, 0};
        platform_.signature = {SignatureVerdict::Trusted, kPinned};
        app_.state.Running = true;
    }
    void Serve(const ScriptedServer& server) {
        SaveSetting(platform_, kUpdateHostSetting, server.HostSetting());
    }

    void Run(const SignerList& signers = {kPinned}) {
        ExchangeLimits limits;
        limits.connect = 2000ms;
        limits.silence = 300ms;
        limits.slice = 5ms;
        RunUpdate(app_.platform, app_.state, app_.forms, limits, signers);
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

    std::vector<std::string> FilesIn(const std::filesystem::path& folder) const {
        std::vector<std::string> names;
        if (std::filesystem::is_directory(folder))
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::filesystem::path Downloads() const { return folder_ / "local" / "Tovlen" / "updates"; }

    testing::TempFolder temp_;
    const std::filesystem::path folder_ = temp_.Path();
    FakePlatform platform_;
    App app_{platform_};
};

std::string OkReply(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// An installer whose version resource says `version`.
std::string Installer(VersionNumber version = {1, 6, 0, 0}) {
    return testing::ProgramImage(true, version);
}

TEST_F(RunUpdateTest, PinnedNewerInstallerIsHeldCheckedAndStartedAsSavedThenTheProgramEnds) {
    const std::string installer =
        Installer() + std::string("\0\x01\r\n\r\nHTTP/1.1 200 OK\r\n", 23) + std::string(5000, '\xE9');
    ScriptedServer server({testing::InPieces(OkReply(installer), 333), 1ms});
    Serve(server);
    // A download that an earlier update left and that still runs keeps its name and bytes.
    std::filesystem::create_directories(Downloads());
    ASSERT_TRUE(WriteNewFile((Downloads() / "update-0.exe").string(), "running"));
    Run();

    EXPECT_EQ(server.Request(), "GET /updates/tovlen1_6_0.exe HTTP/1.1\r\nAccept: *.*\r\nUser-Agent: Tovlen "
                                "Autoupdate\r\nHost: " +
                                    server.HostSetting() + "\r\nConnection: close\r\n\r\n");
    EXPECT_TRUE(FilesIn(folder_ / "program").empty());
    EXPECT_EQ(FilesIn(Downloads()), (std::vector<std::string>{"update-0.exe", "update-1.exe"}));
    EXPECT_EQ(ReadFileBytes((Downloads() / "update-0.exe").string()), "running");
    const std::string saved =
        platform_.specialFolders[KnownFolder::LocalAppData] + "\\Tovlen\\updates\\update-1.exe";
    EXPECT_EQ(ReadFileBytes(saved), installer);

    // Announced while held and before the check; checked and started through the same hold.
    const std::vector<std::string> steps = {"HoldFile " + saved, "VerifySignature " + saved,
                                            "ReadHeldFile " + saved, "StartHeldProgram " + saved,
                                            "ReleaseFile " + saved};
    std::vector<std::string> fileCalls;
    for (const std::string& call : platform_.calls)
        if (call.find(saved) != std::string::npos)
            fileCalls.push_back(call);
    EXPECT_EQ(fileCalls, steps);
    EXPECT_EQ(Messages(), std::vector<std::string>{kInstalling});
    const auto hold = std::find(platform_.calls.begin(), platform_.calls.end(), steps[0]);
    EXPECT_EQ(platform_.messageBoxes[0].callsBefore,
              static_cast<std::size_t>(hold - platform_.calls.begin()) + 1);

    ASSERT_TRUE(app_.forms.frmUpdate);
    const Form& form = *app_.forms.frmUpdate;
    EXPECT_EQ(form.caption, "Tovlen Auto-Update");
    EXPECT_EQ(form.At(frmUpdate::lblStatus).text, "Checking for updates");
    EXPECT_FALSE(form.visible);
    ASSERT_EQ(platform_.launches.size(), 1u);
    EXPECT_EQ(platform_.launches[0].file, saved);
    EXPECT_EQ(platform_.launches[0].parameters,
              " " + std::to_string(form.handle) + " /D=" + platform_.programFolder);
    EXPECT_EQ(platform_.launches[0].workingFolder, platform_.programFolder);
    EXPECT_FALSE(app_.state.Running);
}

TEST_F(RunUpdateTest, AStartDeletesTheDownloadsAnEarlierRunLeft) {
    std::filesystem::create_directories(Downloads());
    ASSERT_TRUE(WriteNewFile((Downloads() / "update-7.exe").string(), "left"));
    Startup(app_);
    EXPECT_TRUE(FilesIn(Downloads()).empty());
    Shutdown(app_);
}

TEST_F(RunUpdateTest, RefusedInstallersAreDeletedAndNotStarted) {
    struct Case {
        SignatureCheck signature;
        std::optional<VersionNumber> version;
        std::string message;
    };
    const VersionNumber newer{1, 6, 0, 0};
    const std::vector<Case> cases = {
        {{SignatureVerdict::Refused, ""}, newer, kNotVerified},
        {{SignatureVerdict::Revoked, kPinned}, newer, kNotVerified},
        {{SignatureVerdict::Trusted, kStranger}, newer, kNotVerified},
        {{SignatureVerdict::Trusted, kPinned}, VersionNumber{1, 5, 10, 0}, kNotNewer},
        {{SignatureVerdict::Trusted, kPinned}, std::nullopt, kNotNewer},
    };
    for (const Case& c : cases) {
        platform_.messageBoxes.clear();
        platform_.signature = c.signature;
        ScriptedServer server({{OkReply(c.version ? Installer(*c.version) : "no program")}});
        Serve(server);
        Run();
        EXPECT_EQ(Messages(), (std::vector<std::string>{kInstalling, c.message}));
        EXPECT_TRUE(FilesIn(Downloads()).empty()) << c.message;
        EXPECT_EQ(platform_.filesHeld, 0);
        EXPECT_FALSE(app_.forms.frmUpdate);
    }
    platform_.messageBoxes.clear();
    platform_.signature = {SignatureVerdict::Trusted, kPinned};
    platform_.heldProgramStarts = false;
    ScriptedServer server({{OkReply(Installer())}});
    Serve(server);
    Run();
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{kInstalling, "The downloaded update could not be started."}));
    EXPECT_TRUE(FilesIn(Downloads()).empty());
    EXPECT_TRUE(platform_.launches.empty());
    EXPECT_TRUE(app_.state.Running);
}

TEST_F(RunUpdateTest, UnknownRevocationStatusIsLoggedAndTheUpdateGoesOn) {
    ScriptedServer server({{OkReply(Installer())}});
    Serve(server);
    platform_.signature = {SignatureVerdict::TrustedRevocationUnknown, kPinned};
    Run();
    EXPECT_EQ(platform_.launches.size(), 1u);
    EXPECT_FALSE(app_.state.Running);
    EXPECT_TRUE(
        std::any_of(platform_.logLines.begin(), platform_.logLines.end(),
                    [](const std::string& line) { return line.find("revoked") != std::string::npos; }));
}

TEST_F(RunUpdateTest, WithoutAPinnedSignerNothingIsFetched) {
    ScriptedServer server({{OkReply(Installer())}});
    Serve(server);
    Run({});
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"This copy of Tovlen was built without an update signer, so "
                                       "it cannot install updates."});
    EXPECT_EQ(server.Connections(), 0);
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
        {ScriptedReply{}, kConnectError}, // accepts, reads, closes without a word
    };
    for (const Case& c : cases) {
        platform_.messageBoxes.clear();
        ScriptedServer server(c.reply);
        Serve(server);
        Run();
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
        EXPECT_TRUE(FilesIn(Downloads()).empty()) << c.message;
        EXPECT_FALSE(app_.forms.frmUpdate); // unloaded, so the next check starts afresh
        EXPECT_EQ(server.Connections(), 1);
    }
    // Nowhere to keep the download.
    platform_.messageBoxes.clear();
    platform_.specialFolders.erase(KnownFolder::LocalAppData);
    ScriptedServer server({{OkReply(Installer())}});
    Serve(server);
    Run();
    EXPECT_EQ(Messages(), std::vector<std::string>{kIncomplete});

    EXPECT_EQ(platform_.filesHeld, 0);
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

// The update check against a real HTTP/1.1 server: lighttpd, started on a free loopback port
// for the test and stopped after it.
#include "app/app.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "update/update.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tov {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr const char* kLighttpd = "/usr/sbin/lighttpd";

std::uint16_t FreeLoopbackPort() {
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    std::uint16_t port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(s);
    return port;
}

bool Accepts(std::uint16_t port) {
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(s);
    return ok;
}

class Lighttpd {
  public:
    Lighttpd(const fs::path& root, std::uint16_t port) : root_(root) {
        const fs::path config = root / "lighttpd.conf";
        std::ofstream(config) << "server.document-root = \"" << (root / "www").string() << "\"\n"
                              << "server.bind = \"127.0.0.1\"\n"
                              << "server.port = " << port << "\n"
                              << "server.errorlog = \"" << (root / "error.log").string() << "\"\n"
                              << "mimetype.assign = (\".exe\" => \"application/octet-stream\")\n";
        const std::string configText = config.string();
        std::vector<char*> argv = {const_cast<char*>(kLighttpd), const_cast<char*>("-D"),
                                   const_cast<char*>("-f"), const_cast<char*>(configText.c_str()), nullptr};
        if (posix_spawn(&pid_, kLighttpd, nullptr, nullptr, argv.data(), environ) != 0)
            pid_ = 0;
        for (int i = 0; i < 500 && pid_ != 0 && !Accepts(port); ++i)
            std::this_thread::sleep_for(10ms);
        ready_ = pid_ != 0 && Accepts(port);
    }
    ~Lighttpd() {
        if (pid_ == 0)
            return;
        kill(pid_, SIGTERM);
        int status = 0;
        for (int i = 0; i < 300; ++i) {
            if (waitpid(pid_, &status, WNOHANG) == pid_)
                return;
            std::this_thread::sleep_for(10ms);
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    Lighttpd(const Lighttpd&) = delete;
    Lighttpd& operator=(const Lighttpd&) = delete;

    bool Ready() const { return ready_; }
    std::string ErrorLog() const { return ReadFileBytes((root_ / "error.log").string()).value_or(""); }

  private:
    fs::path root_;
    pid_t pid_ = 0;
    bool ready_ = false;
};

TEST(UpdateLoopback, RealServerDeliversTheExactInstallerAndA404ForTheRest) {
    if (access(kLighttpd, X_OK) != 0)
        GTEST_SKIP() << kLighttpd << " is missing: install the Debian package lighttpd to run this test";

    const fs::path root = fs::temp_directory_path() / ("tovlen-lighttpd-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "www" / "updates");
    fs::create_directories(root / "program");
    fs::create_directories(root / "local");
    std::string installer = "MZ\r\nHTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\n";
    std::uint32_t seed = 12345;
    for (int i = 0; i < 3 << 20; ++i) {
        seed = seed * 1103515245u + 12345u;
        installer += static_cast<char>(seed >> 24);
    }
    installer += "\r\n";
    ASSERT_TRUE(ReplaceFileContents((root / "www" / "updates" / "tovlen1_6_0.exe").string(), installer));

    const std::uint16_t port = FreeLoopbackPort();
    Lighttpd server(root, port);
    ASSERT_TRUE(server.Ready()) << server.ErrorLog();

    FakePlatform platform;
    platform.programFolder = (root / "program").string();
    platform.programVersion = VersionNumber{1, 5, 10, 0};
    platform.specialFolders[KnownFolder::LocalAppData] = (root / "local").string();
    const std::string signer(64, 'c');
    platform.signature = {SignatureVerdict::Trusted, signer};
    platform.heldFileVersion = VersionNumber{1, 6, 0, 0};
    SaveSetting(platform, kUpdateHostSetting, "localhost:" + std::to_string(port));
    ExchangeLimits limits;
    limits.connect = 5s;
    limits.silence = 5s;
    {
        App app(platform);
        app.state.Running = true;
        RunUpdate(app.platform, app.state, app.forms, limits, {signer});
        ASSERT_EQ(platform.messageBoxes.size(), 1u);
        EXPECT_EQ(platform.messageBoxes[0].text, "Update downloaded, now installing.");
        ASSERT_EQ(platform.launches.size(), 1u);
        const auto saved = ReadFileBytes(platform.launches[0].file, 16u << 20);
        ASSERT_TRUE(saved);
        EXPECT_TRUE(*saved == installer) << "saved " << saved->size() << " bytes of " << installer.size();
        EXPECT_EQ(std::distance(fs::directory_iterator(root / "program"), fs::directory_iterator()), 0);
        EXPECT_FALSE(app.state.Running);
    }

    platform.messageBoxes.clear();
    platform.programVersion = VersionNumber{1, 6, 0, 0};
    {
        App app(platform);
        app.state.Running = true;
        RunUpdate(app.platform, app.state, app.forms, limits, {signer});
        ASSERT_EQ(platform.messageBoxes.size(), 1u);
        EXPECT_EQ(platform.messageBoxes[0].text, "This is the current version of Tovlen.");
        EXPECT_TRUE(app.state.Running);
    }
    fs::remove_all(root);
}

} // namespace
} // namespace tov

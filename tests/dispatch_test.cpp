#include "app/app.h"
#include "app/contexts.h"
#include "app/program.h"
#include "app/submit.h"
#include "base/text.h"
#include "catalogue/build.h"
#include "catalogue/custom_commands.h"
#include "commands/dispatch.h"
#include "commands/launch.h"
#include "input/hooks.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "scripted_server.h"
#include "suggest/command_window.h"
#include "suggest/suggestion_form.h"
#include "support/shortcut_writer.h"
#include "support/temp_folder.h"
#include "update/update.h"
#include "update/update_trust.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tov {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kBuiltInPhrases = FixedPhraseSlots();

// A folder of real files for the "run" lines, named with backslashes as the program names paths.
struct RunFolder {
    std::string Path(const std::string& name = {}) const {
        std::string p = temp.Path().string();
        std::replace(p.begin(), p.end(), '/', '\\');
        return name.empty() ? p : p + "\\" + name;
    }
    std::string AddFile(const std::string& name) const {
        std::ofstream(temp.Path() / name) << "x";
        return Path(name);
    }
    std::string AddFolder(const std::string& name) const {
        fs::create_directories(temp.Path() / name);
        return Path(name);
    }
    testing::TempFolder temp;
};

class Dispatch : public ::testing::Test {
  protected:
    Dispatch() {
        app.catalogue.phrases = kBuiltInPhrases;
        platform.programFolder = programFolder.Path().string();
        app.state.Running = true;
        OpenCommandWindow(app.platform, app.forms, app.state.Transparency,
                          app.platform.PrimaryMonitor()); // the user has typed into it
    }

    void AddEntry(std::string target, std::string name, std::string arguments = {},
                  std::string workingFolder = {}) {
        AddCommandEntry(
            app.catalogue,
            CommandEntry{
                std::move(target), std::move(name), std::move(arguments), std::move(workingFolder), {}});
    }
    // The user's list file as it would be written, loaded as a build loads it.
    void LoadCustom(const std::string& listFile) {
        testing::WriteFile(programFolder.Path() / kCustomCommandsFile, listFile);
        LoadCustomCommands(app.catalogue, platform.programFolder);
    }
    // Submits the typed line as Enter does; true when the window stays open with a message.
    bool Submit(const std::string& typed) { return SubmitCommandLine(app, FrozenLine{typed}); }
    std::size_t Count(const std::string& call) const {
        return static_cast<std::size_t>(std::count(platform.calls.begin(), platform.calls.end(), call));
    }

    testing::TempFolder programFolder;
    FakePlatform platform;
    App app{platform};
};

TEST_F(Dispatch, BuiltInWordsAreCarriedOutAndUnknownLinesAreNot) {
    // Whatever signers this build pins, "update" asks a server of the test's own.
    testing::ScriptedServer server({{"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"}});
    SaveSetting(platform, kUpdateHostSetting, server.HostSetting());
    EXPECT_TRUE(RunCommand(app, "exit").carriedOut);
    EXPECT_FALSE(app.state.Running);

    for (const char* line : {"notepad", "Exit", "exit ", "run", "run ", "web", "google"}) {
        SCOPED_TRACE(line);
        const DispatchResult r = RunCommand(app, line);
        EXPECT_FALSE(r.carriedOut);
        EXPECT_FALSE(r.keepOpen);
        EXPECT_TRUE(platform.launches.empty());
    }
    for (const char* line : {"update", "preferences", "close nothing has this", "show nothing has this"}) {
        SCOPED_TRACE(line);
        const DispatchResult r = RunCommand(app, line);
        EXPECT_TRUE(r.carriedOut);
        EXPECT_FALSE(r.keepOpen);
    }
    // "update" ran the check: a build that pins a signer asked the server, one that pins none
    // said why it cannot.
    const bool pinned = !BuiltInUpdateSigners().empty();
    EXPECT_EQ(server.Connections(), pinned ? 1 : 0);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].text,
              pinned
                  ? "This is the current version of Tovlen."
                  : "This copy of Tovlen was built without an update signer, so it cannot install updates.");
    ASSERT_NE(app.forms.frmPrefs, nullptr);
    EXPECT_TRUE(app.forms.frmPrefs->visible);
}

TEST_F(Dispatch, WebSitesGetASchemeOnlyWhenTheyHaveNone) {
    RunCommand(app, "web example.org");
    RunCommand(app, "web https://example.org/a");
    RunCommand(app, "web http://example.org/b");
    RunCommand(app, "web HTTP://example.org"); // the scheme test is exact
    ASSERT_EQ(platform.launches.size(), 4u);
    EXPECT_EQ(platform.launches[0].file, "http://example.org");
    EXPECT_EQ(platform.launches[1].file, "https://example.org/a");
    EXPECT_EQ(platform.launches[2].file, "http://example.org/b");
    EXPECT_EQ(platform.launches[3].file, "http://HTTP://example.org");
    EXPECT_EQ(platform.launches[0].parameters, "");
    EXPECT_EQ(platform.launches[0].workingFolder, "C:\\");
}

TEST_F(Dispatch, SearchTermsKeepTheirMeaningInTheAddress) {
    EXPECT_TRUE(RunCommand(app, "google two words").carriedOut);
    ASSERT_EQ(platform.launches.size(), 1u);
    // Over HTTPS, and without a blank that a browser started with an unquoted %1 would split at.
    EXPECT_EQ(platform.launches[0].file, "https://www.google.com/search?hl=en&q=two+words");
    EXPECT_EQ(platform.launches[0].workingFolder, "C:\\");

    EXPECT_EQ(SearchAddress("c++ & c# 100%"), std::string(kSearchAddress) + "c%2B%2B+%26+c%23+100%25");
    EXPECT_EQ(SearchAddress("caf\xC3\xA9"), std::string(kSearchAddress) + "caf%C3%A9");
    EXPECT_EQ(SearchAddress("say \"hi\"\tnow"), std::string(kSearchAddress) + "say+%22hi%22%09now");
    EXPECT_EQ(SearchAddress("a=b?c/d *-._~"), std::string(kSearchAddress) + "a%3Db%3Fc%2Fd+*-._%7E");
    EXPECT_EQ(SearchAddress(""), kSearchAddress);
}

TEST_F(Dispatch, HelpAndScreenSaver) {
    RunCommand(app, "help");
    ASSERT_EQ(platform.launches.size(), 1u);
    EXPECT_EQ(platform.launches[0].file, platform.programFolder + "\\help.pdf");
    EXPECT_EQ(platform.launches[0].workingFolder, platform.programFolder);

    LoadSuggestionForm(app.platform, app.forms);
    EXPECT_TRUE(RunCommand(app, "screensaver").carriedOut);
    EXPECT_EQ(Count("StartScreenSaver " + std::to_string(app.forms.frmCommandSuggestion->handle)), 1u);
}

TEST_F(Dispatch, WindowCommandsActOnThePreviousWindowOrTheCaption) {
    const WindowHandle editor = platform.AddWindow("Untitled - Notepad");
    const WindowHandle calc = platform.AddWindow("Calculator");
    const WindowHandle other = platform.AddWindow("Other notes"); // topmost
    app.state.PreviousWindow = editor;

    RunCommand(app, "maximize");
    EXPECT_EQ(platform.windows[editor].showCommand, ShowCommand::Maximize);
    RunCommand(app, "minimize");
    EXPECT_EQ(platform.windows[editor].showCommand, ShowCommand::Minimize);
    platform.windows[calc].showCommand = ShowCommand::Minimize;
    RunCommand(app, "restore calc");
    EXPECT_EQ(platform.windows[calc].showCommand, ShowCommand::Normal);
    RunCommand(app, "show calc");
    EXPECT_EQ(platform.foreground, calc);

    // The first window in Z order whose caption holds the text, whatever its letter case.
    RunCommand(app, "close note");
    EXPECT_TRUE(platform.windows[other].closed);
    EXPECT_FALSE(platform.windows[editor].closed);
    RunCommand(app, "close");
    EXPECT_TRUE(platform.windows[editor].closed);
    EXPECT_FALSE(platform.windows[calc].closed);
}

TEST_F(Dispatch, WindowCommandsWithoutAWindowDoNothing) {
    app.state.PreviousWindow = 0;
    platform.calls.clear();
    for (const char* line : {"close", "maximize", "minimize", "restore zzz", "show zzz", "close zzz"})
        EXPECT_TRUE(RunCommand(app, line).carriedOut) << line;
    EXPECT_TRUE(platform.calls.empty());
}

TEST_F(Dispatch, RunLineFindsTheEntryIgnoringCase) {
    AddEntry("C:\\Windows\\notepad.exe", "Notepad", "/a b");
    AddEntry("C:\\Tools\\tool.exe", "Tool", "", "C:\\Tools\\work");
    EXPECT_TRUE(RunCommand(app, "run notepad").carriedOut);
    EXPECT_TRUE(RunCommand(app, "run TOOL").carriedOut);
    ASSERT_EQ(platform.launches.size(), 2u);
    EXPECT_EQ(platform.launches[0].file, "C:\\Windows\\notepad.exe");
    EXPECT_EQ(platform.launches[0].parameters, "/a b");
    EXPECT_EQ(platform.launches[0].workingFolder, "C:\\");
    EXPECT_EQ(platform.launches[0].showCommand, ShowCommand::Show);
    EXPECT_EQ(platform.launches[1].file, "C:\\Tools\\tool.exe");
    EXPECT_EQ(platform.launches[1].workingFolder, "C:\\Tools\\work");
}

TEST_F(Dispatch, RunLineTriesEntryThenFileThenFolder) {
    RunFolder temp;
    const std::string file = temp.AddFile("report.txt");
    const std::string folder = temp.AddFolder("photos");

    // An entry named like the file wins over the file.
    AddEntry("C:\\entry.exe", file);
    EXPECT_TRUE(RunCommand(app, "run " + file).carriedOut);
    app.catalogue.table.clear();
    EXPECT_TRUE(RunCommand(app, "run " + file).carriedOut);
    EXPECT_TRUE(RunCommand(app, "run " + folder).carriedOut);
    ASSERT_EQ(platform.launches.size(), 3u);
    EXPECT_EQ(platform.launches[0].file, "C:\\entry.exe");
    EXPECT_EQ(platform.launches[1].file, file);
    EXPECT_EQ(platform.launches[1].workingFolder, temp.Path() + "\\");
    EXPECT_EQ(platform.launches[2].file, folder);
    EXPECT_EQ(platform.launches[2].workingFolder, temp.Path() + "\\");
}

TEST_F(Dispatch, UnknownRunTargetKeepsTheWindowOpenWithAMessage) {
    app.state.CommandText = "run nosuchthing";
    const DispatchResult r = RunCommand(app, "run nosuchthing");
    EXPECT_TRUE(r.keepOpen);
    EXPECT_TRUE(r.carriedOut);
    EXPECT_TRUE(platform.launches.empty());
    ASSERT_TRUE(app.forms.frmMain);
    EXPECT_EQ(app.forms.frmMain->At(frmMain::lblDescription).text, "Program not found.");
    EXPECT_TRUE(app.forms.frmMain->visible);
}

TEST(DispatchThroughTheMainLoop, ProgramNotFoundStaysOnScreen) {
    FakePlatform platform;
    App app(platform);
    app.catalogue.phrases = kBuiltInPhrases;
    app.state.Running = true;
    InstallHooks(app.platform, app.state, app.forms);
    platform.SetWakeHandler([&app] { ServiceInput(app); });
    platform.PressKey(VirtualKey::CapsLock);
    platform.RunPending();
    platform.TypeText("run nosuchthing");
    platform.RunPending();
    platform.SendKey(VirtualKey::Enter, KeyMessage::KeyDown);
    platform.RunPending();
    platform.SendKey(VirtualKey::Enter, KeyMessage::KeyUp);
    platform.RequestWake();
    platform.RunPending();
    ASSERT_TRUE(app.forms.frmMain);
    EXPECT_TRUE(app.forms.frmMain->visible);
    EXPECT_TRUE(app.state.WindowOpen);
    EXPECT_EQ(app.forms.frmMain->At(frmMain::lblDescription).text, "Program not found.");

    // The next key belongs to a new line, as the window is open.
    platform.TypeText("x");
    platform.RunPending();
    EXPECT_EQ(app.state.CommandText, "x");
    EXPECT_EQ(app.forms.frmMain->At(frmMain::lblDescription).text, "");
}

TEST_F(Dispatch, UnknownRunTargetLeavesAMatchingPhraseToTheCaller) {
    RunFolder temp;
    const std::string folder = temp.AddFolder("music");
    AddEntry("C:\\Windows\\notepad.exe", "Notepad");
    LoadCustom(folder + "\r\nweb example.org\r\n");
    const DispatchResult r = RunCommand(app, "run note");
    EXPECT_FALSE(r.carriedOut);
    EXPECT_FALSE(r.keepOpen);
    EXPECT_TRUE(platform.launches.empty());

    // A matching phrase comes before an existing folder.
    LoadCustom("run " + folder + " backup\r\nweb example.org\r\n");
    EXPECT_FALSE(RunCommand(app, LowerCase("run " + folder)).carriedOut);
    EXPECT_TRUE(platform.launches.empty());
}

TEST_F(Dispatch, SubmittedLineIsCarriedOutOnce) {
    AddEntry("C:\\Windows\\notepad.exe", "Notepad");
    app.state.CheckBeforeShutdown = 1;
    platform.messageBoxAnswers = {MessageBoxResult::No};
    Submit("reboot");
    EXPECT_EQ(platform.messageBoxes.size(), 1u);

    Submit("run notepad");
    EXPECT_EQ(platform.launches.size(), 1u);

    // A line that carries nothing out runs the best suggestion instead, once.
    EXPECT_FALSE(Submit("notep"));
    EXPECT_EQ(platform.launches.size(), 2u);
}

TEST_F(Dispatch, CustomCommandsComeFirstAndRunTheirAction) {
    LoadCustom("reboot\r\nweb example.org/mine\r\nreboot\r\nweb example.org/second\r\nDocs\r\nweb "
               "example.org/docs\r\n");
    const DispatchResult r = RunCommand(app, "reboot");
    EXPECT_TRUE(r.carriedOut);
    EXPECT_FALSE(r.keepOpen);
    EXPECT_TRUE(platform.messageBoxes.empty());
    EXPECT_EQ(Count("EndSession 2"), 0u);
    ASSERT_EQ(platform.launches.size(), 1u);
    EXPECT_EQ(platform.launches[0].file, "http://example.org/mine");
    EXPECT_EQ(app.state.CommandText, "");

    // Names compare exactly: the typed (lower-case) line does not reach "Docs".
    EXPECT_FALSE(RunCommand(app, "docs").carriedOut);
    EXPECT_EQ(platform.launches.size(), 1u);
}

TEST_F(Dispatch, CustomCommandsChainAndACycleStops) {
    LoadCustom("one\r\ntwo\r\ntwo\r\nthree\r\nthree\r\nweb example.org\r\n"
               "ping\r\npong\r\npong\r\nping\r\nself\r\nself\r\n");
    Submit("one");
    ASSERT_EQ(platform.launches.size(), 1u);
    EXPECT_EQ(platform.launches[0].file, "http://example.org");

    EXPECT_FALSE(Submit("ping"));
    EXPECT_FALSE(Submit("self"));
    EXPECT_EQ(platform.launches.size(), 1u);
}

TEST_F(Dispatch, CustomCommandForAMissingProgramShowsTheMessage) {
    LoadCustom("old tool\r\nrun c:\\gone\\tool.exe\r\n");
    EXPECT_TRUE(Submit("old tool"));
    EXPECT_EQ(app.forms.frmMain->At(frmMain::lblDescription).text, "Program not found.");
}

} // namespace
} // namespace tov

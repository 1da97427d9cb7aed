#include "prefs_fixture.h"

#include "prefs/command_loop.h"
#include "prefs/command_options.h"

namespace tov::testing {
namespace {

class AddCommand : public PreferencesTest {
  protected:
    void SetUp() override {
        PreferencesTest::SetUp();
        Open();
    }
    void Choose(int kind) {
        Click(frmPrefs::cmdAddProgram);
        Click(frmPrefs::opCommandType, kind);
    }
    bool Adding() {
        return Prefs().At(frmPrefs::fmeAddCommand).visible && !Prefs().At(frmPrefs::fmeUserCommands).visible;
    }
    bool NothingChosen() {
        for (int i = 0; i < 4; ++i)
            if (Prefs().At(frmPrefs::opCommandType, i).value != 0)
                return false;
        return !Prefs().At(frmPrefs::cmdAddOkay).enabled;
    }
    std::vector<std::string> Listed() { return Prefs().At(frmPrefs::lstPrograms).items; }
};

TEST_F(AddCommand, EachKindAsksForItsTargetAndANameAndAppendsTheRecord) {
    struct Kind {
        int option;
        std::optional<std::string> file, folder;
        std::deque<std::string> answers;
        const char* prompt;
        const char* offered;
        const char* record;
        const char* caption;
    };
    const Kind kinds[] = {
        {0,
         "C:\\Windows\\notepad.exe",
         {},
         {"notepad"},
         "What do you want the command for this program to be?",
         "notepad",
         "notepad\r\nrun C:\\Windows\\notepad.exe\r\n",
         "Program (notepad)"},
        {1,
         "C:\\Docs\\notes.html",
         {},
         {"My Notes"},
         "What do you want the command for this file to be?",
         "notes.",
         "my notes\r\nrun C:\\Docs\\notes.html\r\n",
         "File (my notes)"},
        {2,
         {},
         "C:\\Users\\me\\Music",
         {"music"},
         "What do you want the command for this folder to be?",
         "Music",
         "music\r\nrun C:\\Users\\me\\Music\r\n",
         "Folder (music)"},
        {3,
         {},
         {},
         {"example.org", "Ex"},
         "What do you want the command for this web site to be?",
         "",
         "ex\r\nweb example.org\r\n",
         "Web site(ex)"},
    };
    std::string records;
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.caption);
        platform.openFileAnswers = {kind.file};
        platform.folderAnswers = {kind.folder};
        platform.inputBoxAnswers = kind.answers;
        platform.inputBoxes.clear();
        Choose(kind.option);
        records += kind.record;
        ASSERT_FALSE(platform.inputBoxes.empty());
        EXPECT_EQ(platform.inputBoxes.back().prompt, kind.prompt);
        EXPECT_EQ(platform.inputBoxes.back().defaultText, kind.offered);
        EXPECT_EQ(ListFile(), records);
        EXPECT_FALSE(Adding());
        EXPECT_EQ(Prefs().At(frmPrefs::opCommandType, kind.option).text, kind.caption);
        EXPECT_TRUE(Prefs().At(frmPrefs::cmdAddOkay).enabled);
    }
    EXPECT_EQ(Listed(), (std::vector<std::string>{"notepad", "my notes", "music", "ex"}));
    EXPECT_TRUE(HasCustom("notepad")); // typeable at once
    EXPECT_EQ(platform.inputBoxes[0].prompt, "What website do you want to open?");
    EXPECT_EQ(platform.inputBoxes[0].defaultText, "http://");

    const OpenFileRequest& program = platform.openFileRequests[0];
    EXPECT_EQ(program.title, "Select Program");
    EXPECT_EQ(program.initialFolder, "c:\\");
    EXPECT_EQ(program.defaultExtension, ".exe");
    EXPECT_EQ(program.filter, "*.exe");
    EXPECT_EQ(platform.dialogOwners[0], Prefs().handle);
    EXPECT_EQ(platform.openFileRequests[1].filter, "");
    // "Locate" uses the dialog as the last add left it.
    Click(frmPrefs::cmdFFLocate);
    EXPECT_EQ(platform.openFileRequests.back().filter, "");

    // The next add starts over: captions back, Okay off.
    Click(frmPrefs::cmdAddProgram);
    EXPECT_EQ(Prefs().At(frmPrefs::opCommandType, 0).text, "Program");
    EXPECT_TRUE(NothingChosen());
}

TEST_F(AddCommand, BackingOutOfAnyStepWritesNothingAndStaysInTheAddFrame) {
    Choose(0); // the file dialog cancelled
    EXPECT_TRUE(platform.inputBoxes.empty());
    Click(frmPrefs::opCommandType, 2); // the folder browser cancelled
    EXPECT_TRUE(platform.inputBoxes.empty());
    platform.openFileAnswers.push_back("C:\\x\\tool.exe");
    Click(frmPrefs::opCommandType, 0); // the name box cancelled
    Click(frmPrefs::opCommandType, 3); // the address box cancelled: no name asked for
    EXPECT_EQ(platform.inputBoxes.size(), 2u);
    platform.inputBoxAnswers = {"example.org"};
    Click(frmPrefs::opCommandType, 3); // an address but no name
    EXPECT_FALSE(std::filesystem::exists(HostPath(folder / "customprograms.lst")));
    EXPECT_TRUE(Adding());
    EXPECT_TRUE(NothingChosen());
    EXPECT_EQ(Prefs().At(frmPrefs::opCommandType, 0).text, "Program");

    Click(frmPrefs::cmdCancel);
    EXPECT_FALSE(Adding());
}

TEST_F(AddCommand, RemovingTakesEveryRecordOfTheName) {
    WriteListFile("a\r\nrun c:\\a.exe\r\nb\r\nweb b.org\r\na\r\nrun c:\\other.exe\r\n");
    Rebuild();
    Click(frmPrefs::cmdOkay);
    Open();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"a", "b", "a"}));
    EXPECT_FALSE(Prefs().At(frmPrefs::cmdRemoveProgram).enabled);
    platform.SelectRow(Prefs(), frmPrefs::lstPrograms, 2);
    EXPECT_TRUE(Prefs().At(frmPrefs::cmdRemoveProgram).enabled);
    Click(frmPrefs::cmdRemoveProgram);
    EXPECT_EQ(ListFile(), "b\r\nweb b.org\r\n");
    EXPECT_EQ(Listed(), std::vector<std::string>{"b"});
    EXPECT_FALSE(Prefs().At(frmPrefs::cmdRemoveProgram).enabled);
    EXPECT_FALSE(HasCustom("a"));
    EXPECT_TRUE(HasCustom("b"));

    platform.SelectRow(Prefs(), frmPrefs::lstPrograms, 0);
    Click(frmPrefs::cmdRemoveProgram);
    EXPECT_EQ(ListFile(), "");
    EXPECT_TRUE(Listed().empty());
    EXPECT_TRUE(app.catalogue.custom.empty());
}

TEST_F(AddCommand, ARemovalTheFileCannotTakeIsToldInABalloonAndChangesNothing) {
    std::string notepadUnicode = "\xFF\xFE";
    for (char c : std::string("a\r\nrun a\r\n"))
        notepadUnicode += {c, '\0'};
    notepadUnicode += 'x'; // an odd byte at the end: the text is not whole
    WriteListFile(notepadUnicode);
    Rebuild();
    Click(frmPrefs::cmdOkay);
    Open();
    platform.SelectRow(Prefs(), frmPrefs::lstPrograms, 0);
    Click(frmPrefs::cmdRemoveProgram);
    EXPECT_EQ(ListFile(), notepadUnicode);
    ASSERT_EQ(platform.balloons.size(), 1u);
    EXPECT_EQ(platform.balloons[0].text,
              "Tovlen could not save customprograms.lst: it holds text that Tovlen "
              "cannot write back unchanged, so it was left as it is.");
}

TEST_F(AddCommand, ACommandThatWouldRunItselfIsRefused) {
    WriteListFile("web b\r\nweb a\r\n");
    platform.inputBoxAnswers = {"b", "web a"}; // "web a" -> "web b" -> "web a" -> ...
    Choose(3);
    EXPECT_EQ(ListFile(), "web b\r\nweb a\r\n");
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].text,
              "The command \"web a\" would run itself over and over, so it was not added.");
    EXPECT_TRUE(Adding());
    EXPECT_TRUE(NothingChosen());
    EXPECT_EQ(Prefs().At(frmPrefs::opCommandType, 3).text, "Web site");
}

TEST(DefaultCommandNames, FourCharactersGoWhateverTheExtension) {
    EXPECT_EQ(DefaultFileCommandName("C:\\Windows\\notepad.exe"), "notepad");
    EXPECT_EQ(DefaultFileCommandName("C:\\Docs\\notes.html"), "notes.");
    EXPECT_EQ(DefaultFileCommandName("C:\\Docs\\README"), "RE");
    EXPECT_EQ(DefaultFileCommandName("C:\\Docs\\r\xC3\xA9sum\xC3\xA9.txt"),
              "r\xC3\xA9sum\xC3\xA9"); // characters, not bytes
    EXPECT_EQ(DefaultFileCommandName("C:\\x\\caf\xC3\xA9"), "");
    EXPECT_EQ(DefaultFileCommandName("a.exe"), "a");
    EXPECT_EQ(DefaultFileCommandName(".exe"), "");
    EXPECT_EQ(DefaultFileCommandName("exe"), "");
    EXPECT_EQ(DefaultFolderCommandName("C:\\Users\\me\\Music"), "Music");
    EXPECT_EQ(DefaultFolderCommandName("C:\\"), "");
    EXPECT_EQ(DefaultFolderCommandName("Music"), "Music");
}

TEST(CommandLoops, ChainsThatComeBackAreFound) {
    const std::vector<CustomCommand> none;
    EXPECT_FALSE(WouldRunItself(none, "notepad", "run C:\\Windows\\notepad.exe"));
    EXPECT_FALSE(WouldRunItself(none, "web example.org", "web http://example.org"));
    EXPECT_TRUE(WouldRunItself(none, "web example.org", "web example.org"));
    EXPECT_TRUE(WouldRunItself(none, "run c:\\a.exe", "run c:\\a.exe"));
    // Case matters to the dispatcher: this name never meets its action.
    EXPECT_FALSE(WouldRunItself(none, "run c:\\a.exe", "run C:\\a.exe"));

    const std::vector<CustomCommand> chain{{"web b", "web c"}, {"web c", "web a"}};
    EXPECT_TRUE(WouldRunItself(chain, "web a", "web b"));
    EXPECT_FALSE(WouldRunItself(chain, "web z", "web b"));
    // A second record of a name never runs: the first one wins.
    EXPECT_FALSE(WouldRunItself(chain, "web c", "web b"));
    // The first record of a name decides where the chain goes.
    const std::vector<CustomCommand> shadowed{{"web x", "web y"}, {"web x", "web a"}};
    EXPECT_FALSE(WouldRunItself(shadowed, "web a", "web x"));

    // With its target gone, "run c:\gone" would be matched to the name that contains it.
    EXPECT_TRUE(WouldRunItself(none, "xrun c:\\gone", "run c:\\gone"));
    EXPECT_TRUE(WouldRunItself({{"web s", "run c:\\gone"}}, "go run c:\\gone", "web s"));
    EXPECT_FALSE(WouldRunItself(none, "my web example.org", "web example.org"));
}

} // namespace
} // namespace tov::testing

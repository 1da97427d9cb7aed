#include "support/run_tool.h"
#include "support/shortcut_writer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

using testing::RunTovlenctl;

class TovlenctlMatch : public ::testing::Test {
  protected:
    TovlenctlMatch() {
        testing::WriteFile(temp.Path() / "Tovlen" / "customprograms.lst", "Notes\r\nrun notepad\r\n");
        testing::WriteShortcut(temp.Path() / "Common" / "Notepad.lnk",
                               testing::ProgramLink("C:\\Windows\\notepad.exe", "", "C:\\"));
    }
    std::vector<std::string> Match(const std::string& text, std::vector<std::string> more = {}) const {
        std::vector<std::string> args = {
            "match", text, "--program-folder", temp / "Tovlen", "--common-programs", temp / "Common"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    testing::TempFolder temp;
};

TEST_F(TovlenctlMatch, PrintsEveryRankedRow) {
    const auto result = RunTovlenctl(Match("NOTE"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, R"j({"result":"notes","selected":0,"shown":2,"rows":[)j"
                          R"j({"phrase":"notes","position":1,"kind":"exact","tacked":false},)j"
                          R"j({"phrase":"run notepad","position":5,"kind":"exact","tacked":false}]})j"
                          "\n");

    const auto rows = RunTovlenctl(Match("o", {"--rows", "2", "--selected", "40"}));
    EXPECT_NE(rows.out.find(R"("result":"run notepad","selected":7,"shown":2,)"), std::string::npos)
        << rows.out;
    EXPECT_EQ(RunTovlenctl(Match("qqq")).out, R"j({"result":"","selected":0,"shown":0,"rows":[]})j"
                                              "\n");
}

TEST_F(TovlenctlMatch, UsageFilesFromOptionsOrTheProgramFolderAndIncompleteLinesRefused) {
    for (const auto& incomplete : {std::vector<std::string>{"match"}, Match("note", {"--selected", "x"}),
                                   Match("note", {"--rows"}), Match("note", {"extra"})})
        EXPECT_EQ(RunTovlenctl(incomplete).exitCode, 2);

    testing::WriteFile(temp.Path() / "Tovlen" / "influence.lst", "NOTES\r\n-1\r\n");
    EXPECT_NE(RunTovlenctl(Match("note")).out.find(R"("result":"run notepad")"), std::string::npos);

    testing::WriteFile(temp.Path() / "tacks.lst", "notes\r\nnote\r\n");
    const auto tacked = RunTovlenctl(Match("note", {"--tacks", temp / "tacks.lst"}));
    EXPECT_NE(tacked.out.find(R"([{"phrase":"notes","position":1,"kind":"exact","tacked":true},)"),
              std::string::npos)
        << tacked.out;

    const auto none = RunTovlenctl(Match("note", {"--influence", temp / "missing.lst"}));
    EXPECT_NE(none.out.find(R"("result":"notes")"), std::string::npos) << none.out;
}

TEST_F(TovlenctlMatch, NearRowsSayTheirKindAndTheSwitchAndTheKeysDecideThem) {
    testing::WriteShortcut(temp.Path() / "Common" / "Windows PowerShell.lnk",
                           testing::ProgramLink("C:\\Windows\\powershell.exe", "", "C:\\"));
    // The capital S of the shortcut's name makes a part of its own.
    const auto initials = RunTovlenctl(Match("ps"));
    EXPECT_EQ(initials.out,
              R"j({"result":"run windows powershell","selected":0,"shown":1,"rows":[)j"
              R"j({"phrase":"run windows powershell","position":2,"kind":"initials","tacked":false}]})j"
              "\n");
    EXPECT_NE(RunTovlenctl(Match("ps", {"--near", "0"})).out.find(R"("rows":[])"), std::string::npos);

    // "тщеу" is what N, O, T, E type with a Russian layout.
    const auto layout = RunTovlenctl(Match("тщеу", {"--keys", "0x4E,79,0x54,0x45"}));
    EXPECT_NE(layout.out.find(R"({"phrase":"notes","position":1,"kind":"layout","tacked":false},)"),
              std::string::npos)
        << layout.out;
    EXPECT_NE(RunTovlenctl(Match("тщеу")).out.find(R"("rows":[])"), std::string::npos);
    for (const char* keys : {"0x4E,,0x54", "78,300", "x"})
        EXPECT_EQ(RunTovlenctl(Match("тщеу", {"--keys", keys})).exitCode, 2) << keys;
    EXPECT_EQ(RunTovlenctl(Match("ps", {"--near", "2"})).exitCode, 2);
}

} // namespace
} // namespace tov

#include "platform/fake/fake_platform.h"
#include "platform/program_file.h"
#include "suggest/usage.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string_view>

namespace tov {
namespace {

struct UsageFiles : ::testing::Test {
    testing::TempFolder folder;
    FakePlatform platform;
    UsageMemory usage;
    const std::function<void(std::string_view)> log = [this](std::string_view line) { platform.Log(line); };
    UsageFiles() { platform.programFolder = folder.Path().string(); }
    std::string InfluenceFile() { return ProgramFile(platform, kInfluenceFile); }
    std::string TackFile() { return ProgramFile(platform, kTackFile); }
    ListSave Tack(UsageMemory& memory, std::string_view phrase, std::string_view typed, bool on = true) {
        return SetTack(memory, TackFile(), phrase, typed, on);
    }
};

TEST(InfluenceFile, ReadsPairsRoundsCountsDownAndAMalformedEntryCostsOnlyItself) {
    // Counts rounded down; out of range, then a count that is no number, then a missing count
    // line, then an unpaired last line.
    const auto entries =
        ParseInfluenceLines({"Run Calc", "-2.5",   "help", " +2.9 ", "big", "32768", "ok1", "1",
                             "small",    "-32768", "edge", "-32767", "bad", "lots",  "ok2", "2",
                             "lost",     "ok3",    "3",    "nan",    "nan", "ok4",   "4",   "orphan"});
    std::vector<std::pair<std::string, int>> got;
    for (const auto& e : entries)
        got.emplace_back(e.phrase, e.count);
    EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{{"Run Calc", -3},
                                                             {"help", 2},
                                                             {"ok1", 1},
                                                             {"edge", -32767},
                                                             {"ok2", 2},
                                                             {"ok3", 3},
                                                             {"ok4", 4}}));
    EXPECT_TRUE(ParseInfluenceLines({"alone"}).empty());
    EXPECT_TRUE(ParseInfluenceLines({"x", "", "y", "1e9"}).empty());
}

TEST_F(UsageFiles, InfluenceLoadsFromTheProgramFolder) {
    LoadInfluence(usage, InfluenceFile(), log);
    EXPECT_TRUE(usage.influence.empty());
    EXPECT_EQ(GetInfluence(usage, "run notepad"), 0);

    folder.Write("influence.lst",
                 "Run Notepad\r\n3\r\nrun calc\r\nx\r\nrun calc\r\n-1\r\nrun notepad\r\n9\r\n");
    LoadInfluence(usage, InfluenceFile(), log);
    EXPECT_EQ(usage.influence.size(), 3u);
    EXPECT_EQ(GetInfluence(usage, "run notepad"), 3);
    EXPECT_EQ(GetInfluence(usage, "run calc"), -1);
}

TEST_F(UsageFiles, TacksRoundTripThroughTheFile) {
    EXPECT_TRUE(Tack(usage, "run notepad", "no").saved);
    EXPECT_TRUE(Tack(usage, "notes", "not").saved);
    EXPECT_TRUE(Tack(usage, "run nothing", "no").saved); // replaces the earlier tack for "no"
    EXPECT_EQ(folder.Read("commandtack.lst"), "notes\r\nnot\r\nrun nothing\r\nno\r\n");
    EXPECT_TRUE(IsTacked(usage, "run nothing", "no"));
    EXPECT_FALSE(IsTacked(usage, "run notepad", "no"));
    EXPECT_FALSE(IsTacked(usage, "run nothing", "not"));
    EXPECT_FALSE(IsTacked(usage, "Run Nothing", "no"));

    UsageMemory restarted;
    LoadTacks(restarted, TackFile(), log);
    ASSERT_EQ(restarted.tacks.size(), 2u);
    EXPECT_TRUE(IsTacked(restarted, "notes", "not"));
    EXPECT_TRUE(IsTacked(restarted, "run nothing", "no"));

    EXPECT_TRUE(Tack(restarted, "run nothing", "no", false).saved);
    EXPECT_EQ(folder.Read("commandtack.lst"), "notes\r\nnot\r\n");
    EXPECT_FALSE(IsTacked(restarted, "run nothing", "no"));
}

// A pin click once wrote the file again from the pairs it parsed, dropping what they skip.
TEST_F(UsageFiles, APinClickEditsTheFileInPlaceAndKeepsEveryLine) {
    folder.Write("commandtack.lst", "notepad\r\nn\r\n\r\ncalc\r\nc\r\n");
    LoadTacks(usage, TackFile(), log);
    EXPECT_FALSE(IsTacked(usage, "", "calc")); // an empty command never matches
    EXPECT_TRUE(Tack(usage, "run wordpad", "w").saved);
    EXPECT_EQ(folder.Read("commandtack.lst"), "notepad\r\nn\r\n\r\ncalc\r\nc\r\n\r\nrun wordpad\r\nw\r\n");
    EXPECT_TRUE(IsTacked(usage, "run wordpad", "w"));
    EXPECT_TRUE(IsTacked(usage, "notepad", "n"));

    EXPECT_TRUE(Tack(usage, "notepad", "n", false).saved);
    EXPECT_EQ(folder.Read("commandtack.lst"), "\r\ncalc\r\nc\r\n\r\nrun wordpad\r\nw\r\n");

    // Text that would split a record is refused and said so; the file stays as it was.
    const ListSave save = Tack(usage, "two\r\nlines", "tw");
    EXPECT_FALSE(save.saved);
    EXPECT_EQ(save.failure, "a pinned command cannot hold a line break");
    EXPECT_TRUE(IsTacked(usage, "two\r\nlines", "tw"));
    EXPECT_EQ(folder.Read("commandtack.lst"), "\r\ncalc\r\nc\r\n\r\nrun wordpad\r\nw\r\n");
}

// A failed write once went unnoticed: now the change stays in memory and the answer says why.
TEST_F(UsageFiles, AFailedWriteKeepsTheChangeInMemory) {
    platform.programFolder = folder / "missing";
    const ListSave save = Tack(usage, "run notepad", "no");
    EXPECT_FALSE(save.saved);
    EXPECT_EQ(save.failure, "no such file or directory");
    EXPECT_TRUE(IsTacked(usage, "run notepad", "no"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "missing"));
}

// Each pin click once wrote the whole list as this copy of the program knew it at start-up.
TEST_F(UsageFiles, APinClickKeepsTacksAnotherCopyWrote) {
    UsageMemory other;
    LoadTacks(usage, TackFile(), log);
    LoadTacks(other, TackFile(), log);
    EXPECT_TRUE(Tack(other, "run calc", "ca").saved);
    EXPECT_TRUE(Tack(usage, "run notepad", "no").saved);
    EXPECT_EQ(folder.Read("commandtack.lst"), "run calc\r\nca\r\nrun notepad\r\nno\r\n");
    EXPECT_TRUE(IsTacked(usage, "run calc", "ca"));
}

} // namespace
} // namespace tov

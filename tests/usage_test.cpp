#include "app/app.h"
#include "platform/fake/fake_platform.h"
#include "platform/program_file.h"
#include "suggest/usage.h"
#include "suggest_test_folder.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

struct UsageFiles : ::testing::Test {
    test::ProgramFolder folder;
    FakePlatform platform;
    App app{platform};
    UsageFiles() { platform.programFolder = folder.Path(); }
};

TEST(InfluenceFile, ReadsPairsAndRoundsCountsDown) {
    const auto entries =
        ParseInfluenceLines({"run notepad", "3", "Run Calc", "-2.5", "logoff", " +7 ", "help", "2.9"});
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].phrase, "run notepad");
    EXPECT_EQ(entries[0].count, 3);
    EXPECT_EQ(entries[1].count, -3);
    EXPECT_EQ(entries[2].count, 7);
    EXPECT_EQ(entries[3].count, 2);
}

TEST(InfluenceFile, AMalformedEntryCostsOnlyItself) {
    // Out of range, then a count that is no number, then a missing count line, then an unpaired last line.
    const auto entries = ParseInfluenceLines({"big",    "32768", "ok1",  "1",   "small", "-32768", "edge",
                                              "-32767", "bad",   "lots", "ok2", "2",     "lost",   "ok3",
                                              "3",      "nan",   "nan",  "ok4", "4",     "orphan"});
    std::vector<std::pair<std::string, int>> got;
    for (const auto& e : entries)
        got.emplace_back(e.phrase, e.count);
    EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{
                       {"ok1", 1}, {"edge", -32767}, {"ok2", 2}, {"ok3", 3}, {"ok4", 4}}));
    EXPECT_TRUE(ParseInfluenceLines({"alone"}).empty());
    EXPECT_TRUE(ParseInfluenceLines({"x", "", "y", "1e9"}).empty());
}

TEST_F(UsageFiles, InfluenceLoadsFromTheProgramFolder) {
    LoadInfluence(app.usage, ProgramFile(app.platform, kInfluenceFile));
    EXPECT_TRUE(app.usage.influence.empty());
    EXPECT_EQ(GetInfluence(app.usage, "run notepad"), 0);

    folder.Write("influence.lst",
                 "Run Notepad\r\n3\r\nrun calc\r\nx\r\nrun calc\r\n-1\r\nrun notepad\r\n9\r\n");
    LoadInfluence(app.usage, ProgramFile(app.platform, kInfluenceFile));
    EXPECT_EQ(app.usage.influence.size(), 3u);
    EXPECT_EQ(GetInfluence(app.usage, "run notepad"), 3);
    EXPECT_EQ(GetInfluence(app.usage, "run calc"), -1);
}

TEST_F(UsageFiles, TacksRoundTripThroughTheFile) {
    EXPECT_TRUE(SetTack(app.usage, ProgramFile(app.platform, kTackFile), "run notepad", "no", true));
    EXPECT_TRUE(SetTack(app.usage, ProgramFile(app.platform, kTackFile), "notes", "not", true));
    EXPECT_TRUE(SetTack(app.usage, ProgramFile(app.platform, kTackFile), "run nothing", "no",
                        true)); // replaces the earlier tack for "no"
    EXPECT_EQ(folder.Read("commandtack.lst"), "notes\r\nnot\r\nrun nothing\r\nno\r\n");
    EXPECT_TRUE(IsTacked(app.usage, "run nothing", "no"));
    EXPECT_FALSE(IsTacked(app.usage, "run notepad", "no"));
    EXPECT_FALSE(IsTacked(app.usage, "run nothing", "not"));
    EXPECT_FALSE(IsTacked(app.usage, "Run Nothing", "no"));

    App restarted(platform);
    LoadTacks(restarted.usage, ProgramFile(restarted.platform, kTackFile));
    ASSERT_EQ(restarted.usage.tacks.size(), 2u);
    EXPECT_TRUE(IsTacked(restarted.usage, "notes", "not"));
    EXPECT_TRUE(IsTacked(restarted.usage, "run nothing", "no"));

    EXPECT_TRUE(
        SetTack(restarted.usage, ProgramFile(restarted.platform, kTackFile), "run nothing", "no", false));
    EXPECT_EQ(folder.Read("commandtack.lst"), "notes\r\nnot\r\n");
    EXPECT_FALSE(IsTacked(restarted.usage, "run nothing", "no"));
}

TEST_F(UsageFiles, TackFileSkipsWhatWouldBreakItsPairs) {
    folder.Write("commandtack.lst", "\r\nno\r\nrun calc\r\nca\r\ndangling");
    LoadTacks(app.usage, ProgramFile(app.platform, kTackFile));
    EXPECT_EQ(app.usage.tacks.size(), 2u);
    EXPECT_FALSE(IsTacked(app.usage, "", "no")); // an empty command never matches
    EXPECT_TRUE(IsTacked(app.usage, "run calc", "ca"));

    EXPECT_TRUE(SetTack(app.usage, ProgramFile(app.platform, kTackFile), "two\r\nlines", "tw", true));
    EXPECT_TRUE(IsTacked(app.usage, "two\r\nlines", "tw"));
    EXPECT_EQ(folder.Read("commandtack.lst"), "run calc\r\nca\r\n");
}

TEST_F(UsageFiles, AFailedWriteKeepsTheChangeInMemory) {
    platform.programFolder = folder.File("missing");
    EXPECT_FALSE(SetTack(app.usage, ProgramFile(app.platform, kTackFile), "run notepad", "no", true));
    EXPECT_TRUE(IsTacked(app.usage, "run notepad", "no"));
    EXPECT_FALSE(folder.Exists("missing"));
}

} // namespace
} // namespace tov

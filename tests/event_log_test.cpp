#include "platform/catch_at_edge.h"
#include "platform/event_log.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace tov {
namespace {

TEST(EventLog, KeepsOneOlderCopyAndStaysWithinTwiceTheCap) {
    testing::TempFolder folder;
    const EventLog log{folder / "tovlen.log", 64};
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(AppendLogLine(log, "stamp", "hook re-installed\r\nafter a drop"));
    const auto current = ReadFileBytes(log.path);
    const auto older = ReadFileBytes(RotatedLogPath(log.path));
    ASSERT_TRUE(current && older);
    EXPECT_LE(current->size(), log.capBytes);
    EXPECT_LE(older->size(), log.capBytes);
    EXPECT_EQ(*current, "stamp hook re-installed  after a drop\r\n");
}

TEST(EventLog, CutsALineLongerThanTheCapAndIsOffWithoutAPath) {
    testing::TempFolder folder;
    const EventLog log{folder / "tovlen.log", 16};
    ASSERT_TRUE(AppendLogLine(log, "", std::string(100, 'x')));
    EXPECT_EQ(*ReadFileBytes(log.path), std::string(14, 'x') + "\r\n");
    EXPECT_FALSE(AppendLogLine(EventLog{}, "", "nowhere"));
}

TEST(CatchAtEdge, LogsWhatFailedAndGivesTheFallback) {
    FakePlatform platform;
    EXPECT_EQ(CatchAtEdge(&platform, "keyboard hook", 0, [] { return 7; }), 7);
    EXPECT_EQ(CatchAtEdge(&platform, "keyboard hook", -1,
                          []() -> int { throw std::logic_error("frmMain has no control lblX(0)"); }),
              -1);
    EXPECT_FALSE(CatchAtEdge(&platform, "wake handler", false, []() -> bool { throw 42; }));
    EXPECT_EQ(CatchAtEdge(nullptr, "input box", 3, []() -> int { throw std::bad_alloc(); }), 3);
    EXPECT_EQ(platform.logLines,
              (std::vector<std::string>{"keyboard hook failed: frmMain has no control lblX(0)",
                                        "wake handler failed: an exception of an unknown kind"}));
}

} // namespace
} // namespace tov

#include "platform/event_log.h"
#include "platform/files.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace tov

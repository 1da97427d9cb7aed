#include "catalogue/custom_commands.h"
#include "catalogue/list_file.h"
#include "support/shortcut_writer.h"
#include "support/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace tov {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> NamesOf(const std::vector<CustomCommand>& commands) {
    std::vector<std::string> names;
    for (const auto& c : commands)
        names.push_back(c.Name + "=" + c.Action);
    return names;
}

class CustomCommandFile : public ::testing::Test {
  protected:
    testing::TempFolder temp;
    const std::string path = CustomCommandsPath(temp.Path().string());
};

TEST_F(CustomCommandFile, AddedRecordsReadBackInOrderAndLoadIntoTheCatalogue) {
    EXPECT_TRUE(ReadCustomCommands(path).empty());
    ASSERT_TRUE(AddCustomCommand(path, "notes", "run C:\\notes.txt").saved);
    ASSERT_TRUE(AddCustomCommand(path, "news site", "web http://news.example/").saved);
    EXPECT_EQ(temp.Read(kCustomCommandsFile),
              "notes\r\nrun C:\\notes.txt\r\nnews site\r\nweb http://news.example/\r\n");

    Catalogue c;
    c.phrases.assign(14, "");
    LoadCustomCommands(c, temp.Path().string());
    EXPECT_THAT(NamesOf(c.custom),
                ElementsAre("notes=run C:\\notes.txt", "news site=web http://news.example/"));
    EXPECT_EQ(c.phrases.size(), 16u);
    EXPECT_EQ(c.phrases[14], "notes");
    EXPECT_EQ(c.phrases[15], "news site");
}

TEST_F(CustomCommandFile, RemovingANameTakesEveryRecordOfItAndNothingElse) {
    testing::WriteFile(testing::HostPath(path),
                       "dup\r\nrun a\r\nkeep\r\nrun b\r\ndup\r\nrun c\r\nDup\r\nrun d\r\n");
    ASSERT_TRUE(RemoveCustomCommands(path, "dup").saved);
    EXPECT_EQ(temp.Read(kCustomCommandsFile), "keep\r\nrun b\r\nDup\r\nrun d\r\n");
    ASSERT_TRUE(RemoveCustomCommands(path, "keep").saved);
    ASSERT_TRUE(RemoveCustomCommands(path, "Dup").saved);
    EXPECT_EQ(temp.Read(kCustomCommandsFile), ""); // the file stays, empty
    EXPECT_TRUE(RemoveCustomCommands(temp / "absent.lst", "x").saved);
    EXPECT_FALSE(std::filesystem::exists(temp.Path() / "absent.lst"));
}

// A hand edit that lost a line leaves half a record at the end: the loader leaves it out, and
// an added command keeps it and still stands as a record of its own.
TEST_F(CustomCommandFile, AddingAfterHalfARecordKeepsEveryLineTheUserWrote) {
    testing::WriteFile(testing::HostPath(path), "one\r\nrun 1\r\nlonely");
    EXPECT_THAT(NamesOf(ReadCustomCommands(path)), ElementsAre("one=run 1"));
    ASSERT_TRUE(AddCustomCommand(path, "two", "run 2").saved);
    EXPECT_EQ(temp.Read(kCustomCommandsFile), "one\r\nrun 1\r\nlonely\r\n\r\ntwo\r\nrun 2\r\n");
    EXPECT_THAT(NamesOf(ReadCustomCommands(path)), ElementsAre("one=run 1", "lonely=", "two=run 2"));
}

TEST_F(CustomCommandFile, AppendingAfterALastLineWithoutItsEndKeepsTheRecordsApart) {
    testing::WriteFile(testing::HostPath(path), "one\r\nrun 1");
    ASSERT_TRUE(AddCustomCommand(path, "two", "run 2").saved);
    EXPECT_EQ(temp.Read(kCustomCommandsFile), "one\r\nrun 1\r\ntwo\r\nrun 2\r\n");
}

TEST_F(CustomCommandFile, FieldsWithLineBreaksAreRefused) {
    EXPECT_FALSE(AddCustomCommand(path, "two\r\nlines", "run x").saved);
    EXPECT_FALSE(AddCustomCommand(path, "name", "run x\ny").saved);
    EXPECT_FALSE(std::filesystem::exists(testing::HostPath(path)));
    EXPECT_FALSE(AddCustomCommand(CustomCommandsPath(""), "name", "run x").saved);
}

// Holds every file written meanwhile to a few bytes, so that writes fail as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(CustomCommandFile, ARewriteThatCannotFinishLeavesTheOldFileWhole) {
    const std::string before = "keep\r\nrun k\r\nother\r\nrun o\r\n";
    testing::WriteFile(testing::HostPath(path), before);
    {
        FileSizeLimit limit(8);
        EXPECT_FALSE(AddCustomCommand(path, "new", "run n").saved);
        EXPECT_FALSE(RemoveCustomCommands(path, "keep").saved);
    }
    EXPECT_EQ(temp.Read(kCustomCommandsFile), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1); // no temporary left
}

} // namespace
} // namespace tov

#include "catalogue/custom_commands.h"
#include "catalogue/list_file.h"
#include "platform/files.h"
#include "support/shortcut_writer.h"
#include "support/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fnmatch.h>
#include <fstream>
#include <map>
#include <regex>

#include <sys/wait.h>
#include <unistd.h>

namespace tov {
namespace {

using ::testing::ElementsAre;

std::string Utf16Le(std::u16string_view text) {
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

std::string Utf16Be(std::u16string_view text) {
    std::string out = "\xFE\xFF";
    for (char16_t c : text) {
        out += static_cast<char>(c >> 8);
        out += static_cast<char>(c & 0xFF);
    }
    return out;
}

TEST(ListFileText, LineEndsAndTheByteOrderMark) {
    EXPECT_THAT(DecodeListFile("a\r\nb\rc\nd").lines, ElementsAre("a", "b", "c", "d"));
    EXPECT_THAT(DecodeListFile("a\n\n\r\r\nb").lines, ElementsAre("a", "", "", "", "b"));
    EXPECT_THAT(DecodeListFile("a\r\n\r\n").lines, ElementsAre("a", ""));
    EXPECT_THAT(DecodeListFile("").lines, ElementsAre());
    EXPECT_THAT(DecodeListFile("\xEF\xBB\xBFna\xC3\xAFve\r\n").lines, ElementsAre("naïve"));
}

// What Notepad saves: "ANSI", "UTF-8" (no mark, its default since 2019), "UTF-8 with BOM",
// "UTF-16 LE" and "UTF-16 BE" ("Unicode" and "Unicode big endian" before that).
TEST(ListFileText, EveryEncodingNotepadSavesReadsBackAsText) {
    const auto ansi = DecodeListFile("caf\xE9\r\nrun C:\\caf\xE9.exe\r\n", kWesternCodePage);
    EXPECT_THAT(ansi.lines, ElementsAre("café", "run C:\\café.exe"));
    EXPECT_EQ(ansi.encoding, ListEncoding::Ansi);

    const auto utf8 = DecodeListFile("café\r\nrun C:\\café.exe\r\n", kWesternCodePage);
    EXPECT_THAT(utf8.lines, ElementsAre("café", "run C:\\café.exe")); // not "cafÃ©"
    EXPECT_EQ(utf8.encoding, ListEncoding::Utf8);

    const auto le = DecodeListFile(Utf16Le(u"café\r\nrun C:\\日本.exe\r\n"));
    EXPECT_THAT(le.lines, ElementsAre("café", "run C:\\日本.exe"));
    EXPECT_EQ(le.encoding, ListEncoding::Utf16Le);
    EXPECT_TRUE(le.exact);
    const auto be = DecodeListFile(Utf16Be(u"café\r\nrun x\r\n"));
    EXPECT_THAT(be.lines, ElementsAre("café", "run x"));
    EXPECT_EQ(be.encoding, ListEncoding::Utf16Be);

    for (const auto& text : {ansi, utf8, le, be})
        EXPECT_EQ(DecodeListFile(EncodeListFile(text.lines, text.encoding, kWesternCodePage)).encoding,
                  text.encoding);
    EXPECT_EQ(EncodeListFile(le.lines, ListEncoding::Utf16Le), Utf16Le(u"café\r\nrun C:\\日本.exe\r\n"));
}

TEST(ListFileText, TextThatDoesNotDecodeCleanlyIsMarkedInexact) {
    EXPECT_FALSE(DecodeListFile(Utf16Le(u"ab") + "x").exact);                  // an odd byte
    EXPECT_FALSE(DecodeListFile(Utf16Le(std::u16string(1, u'\xD800'))).exact); // a lone surrogate
    EXPECT_FALSE(DecodeListFile("\xEF\xBB\xBF\xFF\r\n").exact);                // no UTF-8 behind the mark
    EXPECT_FALSE(DecodeListFile(std::string("a\0b\r\n", 5)).exact);            // UTF-16 without its mark
    EXPECT_FALSE(DecodeListFile("caf\xE9", 932).exact); // a code page this build cannot convert
    EXPECT_TRUE(DecodeListFile("caf\xE9\r\n\xC3", kWesternCodePage).exact);
}

// Writers keep the encoding and fall back to UTF-8 only where the code page cannot hold the
// text; a system set to "Use Unicode UTF-8 for worldwide language support" has 65001 as its
// code page. A conversion that fails never writes an empty text.
TEST(ListFileText, WritersKeepTheEncodingWhereTheCodePageCanHoldTheText) {
    struct Case {
        std::vector<std::string> lines;
        ListEncoding encoding;
        unsigned codePage;
        std::string bytes;
    };
    const Case cases[] = {
        {{"café", "run C:\\x"}, ListEncoding::Ansi, kWesternCodePage, "caf\xE9\r\nrun C:\\x\r\n"},
        {{"日本", "run C:\\x"}, ListEncoding::Ansi, kWesternCodePage, "\xEF\xBB\xBF日本\r\nrun C:\\x\r\n"},
        {{"日本", "run x"}, ListEncoding::Ansi, 932, "\xEF\xBB\xBF日本\r\nrun x\r\n"},
        {{"café", "run C:\\日本.exe"}, ListEncoding::Ansi, kUtf8CodePage, "café\r\nrun C:\\日本.exe\r\n"},
        {{"plain"}, ListEncoding::Utf8WithMark, kWesternCodePage, "\xEF\xBB\xBFplain\r\n"},
        {{"café"}, ListEncoding::Utf8, kWesternCodePage, "café\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeListFile(c.lines, c.encoding, c.codePage), c.bytes)
            << c.lines[0] << " in " << c.codePage;
    EXPECT_EQ(EncodeCodePage("日本", kWesternCodePage), std::nullopt);
    EXPECT_EQ(EncodeCodePage("caf\xE9", kUtf8CodePage), std::nullopt); // not UTF-8 to begin with
    EXPECT_EQ(DecodeCodePage("caf\xE9", kUtf8CodePage), std::nullopt);
    EXPECT_THAT(DecodeListFile("café\r\n", kUtf8CodePage).lines, ElementsAre("café"));
    // Code-page text that would read back as UTF-8, or as a mark, is stored as UTF-8 instead.
    for (const std::vector<std::string>& lookalike : {std::vector<std::string>{"ï»¿x"}, {"Ã©"}}) {
        const std::string bytes = EncodeListFile(lookalike, ListEncoding::Ansi, kWesternCodePage);
        EXPECT_EQ(DecodeListFile(bytes, kWesternCodePage).lines, lookalike);
    }
}

// 32 MB of line breaks once made 32 million entries and a gigabyte of memory.
TEST(ListFileText, LinesPastWhatAPersonWritesAreLeftOut) {
    const auto many = DecodeListFile(std::string(kMaxListLines + 1000, '\n'));
    EXPECT_EQ(many.lines.size(), kMaxListLines);
    EXPECT_EQ(many.leftOut, 1000u);
    EXPECT_FALSE(many.exact);

    const auto wide = DecodeListFile("a\r\n" + std::string(kMaxListLineBytes + 1, 'x') + "\r\nb\r\nc\r\n");
    EXPECT_THAT(wide.lines, ElementsAre("a", "", "b", "c")); // the records after it stay paired
    EXPECT_EQ(wide.leftOut, 1u);
}

class ListFileOnDisk : public ::testing::Test {
  protected:
    testing::TempFolder temp;
    const std::string path = temp / "list.lst";
    void Write(const std::string& bytes) const { testing::WriteFile(testing::HostPath(path), bytes); }
    std::string Read() const { return temp.Read("list.lst"); }
    static void AddPair(std::vector<std::string>& lines) { AppendRecord(lines, "new", "run n"); }
};

TEST_F(ListFileOnDisk, AChangeKeepsTheEncodingTheFileWasReadIn) {
    Write(Utf16Le(u"日本\r\nrun a\r\n"));
    ASSERT_TRUE(ChangeListFile(path, AddPair).saved);
    EXPECT_EQ(Read(), Utf16Le(u"日本\r\nrun a\r\nnew\r\nrun n\r\n"));

    Write("café\r\nrun a\r\n");
    ASSERT_TRUE(ChangeListFile(path, AddPair, kWesternCodePage).saved);
    EXPECT_EQ(Read(), "café\r\nrun a\r\nnew\r\nrun n\r\n");

    Write("caf\xE9\r\nrun a\r\n");
    ASSERT_TRUE(ChangeListFile(path, AddPair, kWesternCodePage).saved);
    EXPECT_EQ(Read(), "caf\xE9\r\nrun a\r\nnew\r\nrun n\r\n");

    Write("café\r\nrun a\r\nb\r\nrun b\r\n"); // on a system whose code page is UTF-8
    const auto dropB = [](auto& lines) {
        RemoveRecords(lines, [](auto& name, auto&) { return name == "b"; });
    };
    ASSERT_TRUE(ChangeListFile(path, dropB, kUtf8CodePage).saved);
    EXPECT_EQ(Read(), "café\r\nrun a\r\n");
}

TEST_F(ListFileOnDisk, AFileThatDidNotDecodeExactlyIsLeftAsItIs) {
    for (const std::string& bytes :
         {Utf16Le(u"ab") + "x", std::string("\xEF\xBB\xBF\xFF\r\n"), std::string(kMaxListLines + 1, '\n')}) {
        Write(bytes);
        const ListSave save = ChangeListFile(path, AddPair);
        EXPECT_FALSE(save.saved);
        EXPECT_THAT(save.failure, ::testing::HasSubstr("left as it is"));
        EXPECT_EQ(Read(), bytes);
    }
}

TEST_F(ListFileOnDisk, AFileTooLargeToReadIsNotReplaced) {
    Write("a\r\n");
    std::filesystem::resize_file(testing::HostPath(path), (64u << 20) + 1); // sparse, so quick
    const ListSave save = ChangeListFile(path, AddPair);
    EXPECT_FALSE(save.saved);
    EXPECT_EQ(save.failure, "file too large");
    EXPECT_EQ(std::filesystem::file_size(testing::HostPath(path)), (64u << 20) + 1);
}

TEST_F(ListFileOnDisk, RecordsAreAddedAfterEveryLineAndRemovedWhole) {
    std::vector<std::string> lines = {"one", "run 1", "lonely"};
    AppendRecord(lines, "two", "run 2");
    EXPECT_THAT(lines, ElementsAre("one", "run 1", "lonely", "", "two", "run 2"));
    RemoveRecords(lines, [](const std::string& first, const std::string&) { return first == "one"; });
    EXPECT_THAT(lines, ElementsAre("lonely", "", "two", "run 2"));
    lines.push_back("half");
    RemoveRecords(lines, [](const std::string&, const std::string& second) { return second == "run 2"; });
    EXPECT_THAT(lines, ElementsAre("lonely", "", "half"));
}

// A file that could not be looked at once counted as absent, and a new list took its place; and a
// list that was absent at the look was written over one that another writer made meanwhile.
TEST_F(ListFileOnDisk, OnlyAFileThatIsNotThereIsMadeAndNeverOverAnotherWritersFile) {
    std::filesystem::create_directory_symlink("loop", temp.Path() / "loop");
    std::string why;
    EXPECT_EQ(ProbePath(temp / "loop\\list.lst", &why), PathState::Unknown);
    EXPECT_EQ(why, "too many levels of symbolic links");
    EXPECT_EQ(ProbePath(temp / "absent\\list.lst"), PathState::Absent);
    EXPECT_EQ(ProbePath(temp / "loop"), PathState::Present);
    int calls = 0;
    for (const ListSave& unknown :
         {ChangeListFile(temp / "loop\\list.lst", [&](std::vector<std::string>&) { ++calls; }),
          RemoveCustomCommands(temp / "loop\\list.lst", "name")}) {
        EXPECT_FALSE(unknown.saved);
        EXPECT_EQ(unknown.failure, "too many levels of symbolic links");
    }
    EXPECT_EQ(calls, 0);

    const ListSave save = ChangeListFile(path, [&](std::vector<std::string>& lines) {
        if (calls++ == 0)
            Write("theirs\r\nrun t\r\n");
        AddPair(lines);
    });
    EXPECT_TRUE(save.saved);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(Read(), "theirs\r\nrun t\r\nnew\r\nrun n\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 2); // no temporary left
}

// Two programs writing the same file once both used "<file>.tmp1", opened to append: writes
// were lost and readers saw empty lists.
TEST_F(ListFileOnDisk, WritersInSeveralProcessesNeverMeetAndReadersSeeWholeFiles) {
    constexpr int kWriters = 2;
    constexpr int kWrites = 200;
    const auto body = [](int writer) { return std::string(4000, static_cast<char>('a' + writer)); };
    ASSERT_TRUE(ReplaceFileContents(path, body(0)));
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int failed = 0;
            for (int i = 0; i < kWrites; ++i)
                failed += ReplaceFileContents(path, body(w)) ? 0 : 1;
            _exit(failed);
        }
        children.push_back(child);
    }
    int torn = 0;
    for (int i = 0; i < 2000; ++i) {
        const std::string seen = Read();
        if (seen != body(0) && seen != body(1))
            ++torn;
    }
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "failed writes";
    }
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1); // no temporary left
}

// A crash between saving the start-up shortcut and moving it into place once left a second
// shortcut in the Startup folder, which started the program twice at every log-on.
TEST(StagedSave, NothingButTheFinishedFileEverAppearsInTheTargetFolder) {
    testing::TempFolder staging;
    testing::TempFolder startup;
    const std::string target = startup / "Tovlen.lnk";
    std::size_t entriesDuringSave = 1;
    std::string stagedAt;
    ASSERT_TRUE(SaveThroughStaging(staging.Path().string(), target, ".lnk", [&](const std::string& staged) {
        stagedAt = staged;
        testing::WriteFile(testing::HostPath(staged), "link");
        entriesDuringSave =
            static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(startup.Path()), {}));
        return true;
    }));
    EXPECT_EQ(entriesDuringSave, 0u);
    EXPECT_TRUE(stagedAt.starts_with(staging.Path().string()));
    EXPECT_TRUE(stagedAt.ends_with(".lnk"));
    EXPECT_EQ(startup.Read("Tovlen.lnk"), "link");
    EXPECT_TRUE(std::filesystem::is_empty(staging.Path()));

    EXPECT_FALSE(SaveThroughStaging(staging.Path().string(), target, ".lnk", [](const std::string& staged) {
        testing::WriteFile(testing::HostPath(staged), "half");
        return false;
    }));
    EXPECT_EQ(startup.Read("Tovlen.lnk"), "link");
    EXPECT_TRUE(std::filesystem::is_empty(staging.Path()));
}

// The uninstaller once looked for "customprograms.lst.tmp*", a name the writers no longer used.
TEST(StagedSave, TheUninstallerKnowsTheTemporaryNamesBesideTheLists) {
    std::ifstream script(std::string(TOVLEN_SOURCE_DIR) + "/installer/tovlen.nsi");
    std::vector<std::string> patterns;
    std::map<std::string, std::string> defines; // !define NAME "value"
    for (std::string line; std::getline(script, line);) {
        std::smatch found;
        if (std::regex_match(line, found, std::regex(R"re(!define (\w+) "(.*)")re")))
            defines["${" + found[1].str() + "}"] = found[2];
        else if (std::regex_search(line, found, std::regex(R"re(Delete "\$INSTDIR\\(.*)")re")))
            patterns.push_back(found[1]);
    }
    for (std::string& pattern : patterns)
        for (const auto& [name, value] : defines)
            if (const auto at = pattern.find(name); at != std::string::npos)
                pattern.replace(at, name.size(), value);
    for (const char* written : {"customprograms.lst", "commandtack.lst", "updatefile.exe"}) {
        const std::string name = ReplacementFileName(std::string("C:\\Tovlen\\") + written);
        EXPECT_TRUE(std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) {
            return fnmatch(p.c_str(), name.c_str(), 0) == 0;
        })) << name;
    }
}

} // namespace
} // namespace tov

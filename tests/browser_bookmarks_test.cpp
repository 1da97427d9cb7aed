#include "catalogue/build.h"
#include "catalogue/chromium_bookmarks.h"
#include "catalogue/firefox_places.h"
#include "catalogue/sqlite_query.h"
#include "support/shortcut_writer.h"
#include "support/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sqlite3.h>

namespace tov {
namespace {

using ::testing::ElementsAre;
using testing::WriteFile;

std::vector<std::string> Pairs(const std::vector<CommandEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.Name + " -> " + e.Target);
    return out;
}

std::string Url(const std::string& name, const std::string& url) {
    return R"({"type":"url","name":")" + name + R"(","url":")" + url + R"("})";
}

std::string BookmarksJson(const std::string& bar, const std::string& other = "",
                          const std::string& synced = "") {
    return R"({"checksum":"0","roots":{"bookmark_bar":{"type":"folder","name":"Bar","children":[)" + bar +
           R"(]},"other":{"type":"folder","children":[)" + other +
           R"(]},"synced":{"type":"folder","children":[)" + synced + R"(]}},"version":1})";
}

TEST(ChromiumBookmarks, EveryUrlOfEveryRootAndFolderInFileOrder) {
    const std::string json = BookmarksJson(
        Url("Mail", "https://Mail.example/Inbox") + R"(,{"type":"folder","name":"Work","children":[)" +
            Url("Wiki\\nPage", "https://wiki/") + R"(,{"type":"folder","children":[)" +
            Url("", "https://untitled/") + "]}]}," + Url("Bad", "no scheme") + "," +
            Url("Drive", "c:/x.exe") + R"(,{"type":"url","name":"none"})",
        Url("Other", "file:///C:/docs/a.html"), Url("Synced", "https://synced/"));
    const auto entries = ParseChromiumBookmarks(json, ChromiumBookmarkSuffix("edge"));
    ASSERT_THAT(Pairs(entries), ElementsAre("mail (edge bookmark) -> https://Mail.example/Inbox",
                                            "wiki page (edge bookmark) -> https://wiki/",
                                            "https://untitled/ (edge bookmark) -> https://untitled/",
                                            "other (edge bookmark) -> file:///C:/docs/a.html",
                                            "synced (edge bookmark) -> https://synced/"));
    EXPECT_EQ(entries[0].WorkingFolder, "C:\\");
}

TEST(ChromiumBookmarks, DamagedFilesGiveNothingAndNamesStayReadable) {
    const std::string good = BookmarksJson(Url("Ok", "https://ok/"));
    for (const std::string& bad :
         {good.substr(0, good.size() / 2), std::string("[]"), std::string(R"({"roots":[]})"),
          std::string(R"({"roots":{"x":{"children":{"a":1}}}})"), std::string(200000, '['), std::string(),
          BookmarksJson(Url("Bad\xFF", "https://bad/"))})
        EXPECT_TRUE(ParseChromiumBookmarks(bad, " (x bookmark)").empty()) << bad.substr(0, 60);

    // Long names are cut, never inside a character; control characters become blanks.
    const auto entries = ParseChromiumBookmarks(
        BookmarksJson(Url(std::string(1000, 'n'), "https://long/") + "," +
                      Url(std::string(255, 'x') + "\u00C9", "https://cut/") + "," +
                      Url("Tab\\there", "https://tab/") + "," + Url("Nul", "https://nul/\\u0000")),
        " (x bookmark)");
    EXPECT_THAT(Pairs(entries), ElementsAre(std::string(256, 'n') + " (x bookmark) -> https://long/",
                                            std::string(255, 'x') + " (x bookmark) -> https://cut/",
                                            "tab here (x bookmark) -> https://tab/"));
}

class BrowserBookmarks : public ::testing::Test {
  protected:
    Catalogue Build() { return BuildCatalogue(sources); }
    static std::vector<std::string> Names(const Catalogue& c) {
        std::vector<std::string> names;
        for (const auto& e : c.table)
            names.push_back(e.Name);
        return names;
    }
    // A places.sqlite as Firefox lays it out, with the tables the import reads.
    void MakePlaces(const std::filesystem::path& path, const std::string& rows) {
        std::filesystem::create_directories(path.parent_path());
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.string().c_str(), &db), SQLITE_OK);
        const std::string sql =
            "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR);"
            "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER,"
            " parent INTEGER, title LONGVARCHAR);" +
            rows;
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }
    std::filesystem::path Profile(const std::string& name) const { return temp.Path() / "Profiles" / name; }

    testing::TempFolder temp;
    CatalogueSources sources{.firefoxProfiles = temp / "Profiles", .localAppData = temp / "Local"};
};

TEST_F(BrowserBookmarks, EveryProfileOfEveryChromiumBrowserOnceEach) {
    const auto local = temp.Path() / "Local";
    WriteFile(local / "Microsoft" / "Edge" / "User Data" / "Default" / "Bookmarks",
              BookmarksJson(Url("News", "https://news/")));
    WriteFile(local / "Google" / "Chrome" / "User Data" / "Default" / "Bookmarks",
              BookmarksJson(Url("Same", "https://same/"), Url("Same", "https://same/")));
    WriteFile(local / "Google" / "Chrome" / "User Data" / "Profile 1" / "Bookmarks",
              BookmarksJson(Url("Same", "https://same/") + "," + Url("Work", "https://work/")));
    WriteFile(local / "Chromium" / "User Data" / "Default" / "Bookmarks",
              BookmarksJson(Url("Dev", "https://dev/")));
    WriteFile(local / "Google" / "Chrome" / "User Data" / "Broken" / "Bookmarks", "{\"roots\":");
    WriteFile(local / "Other" / "Thing" / "Default" / "Bookmarks", BookmarksJson(Url("Not", "https://not/")));

    sources.chromiumBookmarks = true;
    EXPECT_THAT(Names(Build()), ElementsAre("dev (chromium bookmark)", "news (edge bookmark)",
                                            "same (chrome bookmark)", "work (chrome bookmark)"));
    sources.chromiumBookmarks = false;
    EXPECT_TRUE(Build().table.empty());
}

TEST_F(BrowserBookmarks, FirefoxPlacesOfEveryProfileTakePrecedenceOverBookmarksHtml) {
    MakePlaces(Profile("a.default") / "places.sqlite",
               "INSERT INTO moz_places VALUES (1, 'https://Example.org/CaseKept'), (2, 'place:sort=8'),"
               " (3, 'https://untitled/'), (4, 'https://folder-never/');"
               "INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 'Menu'), (2, 1, 1, 1, 'Example'),"
               " (3, 1, 2, 1, 'Most Visited'), (4, 1, 3, 1, NULL), (5, 2, 4, 1, 'A folder'),"
               " (6, 1, 99, 1, 'Dangling');");
    MakePlaces(Profile("b.default") / "places.sqlite",
               "INSERT INTO moz_places VALUES (1, 'https://Example.org/CaseKept'), (2, 'https://b/');"
               "INSERT INTO moz_bookmarks VALUES (1, 1, 1, 0, 'Example'), (2, 1, 2, 0, 'B');");
    WriteFile(Profile("c.default") / "places.sqlite", std::string(4096, '\x5A')); // damaged: adds nothing
    WriteFile(Profile("a.default") / "bookmarks.html", "<a href=\"http://html/\">Html</a>");
    sources.firefoxBookmarks = true;
    const Catalogue c = Build();
    EXPECT_THAT(Names(c), ElementsAre("b (firefox bookmark)", "example (firefox bookmark)",
                                      "https://untitled/ (firefox bookmark)"));
    EXPECT_EQ(c.table[1].Target, "https://Example.org/CaseKept");
}

TEST_F(BrowserBookmarks, UnreadablePlacesFallBackToBookmarksHtml) {
    const auto places = Profile("a.default") / "places.sqlite";
    MakePlaces(places, "INSERT INTO moz_places VALUES (1, 'https://x/');"
                       "INSERT INTO moz_bookmarks VALUES (1, 1, 1, 0, 'X');");
    std::filesystem::resize_file(places, std::filesystem::file_size(places) / 2);
    WriteFile(Profile("a.default") / "bookmarks.html", "<a href=\"http://html/\">Html</a>");
    sources.firefoxBookmarks = true;
    EXPECT_FALSE(ReadPlacesBookmarks((Profile("a.default") / "places.sqlite").string()));
    EXPECT_THAT(Names(Build()), ElementsAre("html (firefox bookmark)"));
}

TEST_F(BrowserBookmarks, PlacesAreReadWhileFirefoxHoldsThemLockedAndHostileSchemasStop) {
    const auto places = Profile("a.default") / "places.sqlite";
    MakePlaces(places, "INSERT INTO moz_places VALUES (1, 'https://x/');"
                       "INSERT INTO moz_bookmarks VALUES (1, 1, 1, 0, 'X');");
    sqlite3* firefox = nullptr;
    ASSERT_EQ(sqlite3_open(places.string().c_str(), &firefox), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(firefox, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr),
        SQLITE_OK);
    const auto read = ReadPlacesBookmarks(places.string());
    sqlite3_close(firefox);
    ASSERT_TRUE(read);
    EXPECT_THAT(Pairs(*read), ElementsAre("x (firefox bookmark) -> https://x/"));

    // A file whose "tables" are views that never end is given up, not waited for.
    const auto hostile = Profile("h") / "places.sqlite";
    std::filesystem::create_directories(hostile.parent_path());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(hostile.string().c_str(), &db), SQLITE_OK);
    sqlite3_exec(db,
                 "CREATE VIEW moz_places AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n)"
                 " SELECT i AS id, 'https://x/' AS url FROM n WHERE i < 0;"
                 "CREATE VIEW moz_bookmarks AS SELECT 1 AS id, 1 AS type, 1 AS fk, 'T' AS title;",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ReadPlacesBookmarks(hostile.string()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(ImmutableDatabaseUri, EncodesWhatAUriWouldReadOtherwise) {
    EXPECT_EQ(ImmutableDatabaseUri("C:\\Users\\A b\\p#1%?\\places.sqlite"),
              "file:///C:/Users/A%20b/p%231%25%3F/places.sqlite?immutable=1");
    EXPECT_EQ(ImmutableDatabaseUri("/tmp/\xC3\xA9/x"), "file:///tmp/%C3%A9/x?immutable=1");
}

} // namespace
} // namespace tov

#include "catalogue/favorites.h"
#include "catalogue/firefox_bookmarks.h"
#include "support/shortcut_writer.h"
#include "support/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tov {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> Pairs(const std::vector<CommandEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.Name + " -> " + e.Target);
    return out;
}

TEST(InternetShortcut, AddressFollowsTheSectionHeader) {
    EXPECT_EQ(InternetShortcutAddress(
                  "[DEFAULT]\r\nBASEURL=http://base/\r\n[InternetShortcut]\r\nURL=http://x/\r\n"),
              "http://x/");
    EXPECT_EQ(
        InternetShortcutAddress("URL=http://early/\r\n[InternetShortcut]\r\nIDList=\r\nURL=http://late/"),
        "http://late/");
    EXPECT_EQ(InternetShortcutAddress("[InternetShortcut]\nURL=http://lf.only/\nModified=1\n"),
              "http://lf.only/");
    EXPECT_EQ(InternetShortcutAddress("[InternetShortcut]\rURL=http://cr/\rX=1"), "http://cr/");
    EXPECT_EQ(InternetShortcutAddress("[InternetShortcut] BASEURL=http://same-line/\r\n"),
              "http://same-line/");
    EXPECT_EQ(InternetShortcutAddress("[internetshortcut]\r\nURL=http://x/\r\n"), "");
    EXPECT_EQ(InternetShortcutAddress("[InternetShortcut]\r\nurl=http://x/\r\n"), "");
    EXPECT_EQ(InternetShortcutAddress("URL=http://x/\r\n"), "");
    EXPECT_EQ(InternetShortcutAddress(""), "");
    const std::string longAddress = "http://long/" + std::string(70000, 'a');
    EXPECT_EQ(
        InternetShortcutAddress(std::string(40000, ';') + "\r\n[InternetShortcut]\r\nURL=" + longAddress),
        longAddress);
}

TEST(InternetShortcut, URLReadNeedsAPlainFile) {
    testing::TempFolder temp;
    testing::WriteFile(temp.Path() / "a.url", "[InternetShortcut]\r\nURL=http://a/\r\n");
    EXPECT_EQ(URLRead(temp / "a.url"), "http://a/");
    EXPECT_EQ(URLRead(temp / "missing.url"), "");
    std::filesystem::create_directory(temp.Path() / "folder.url");
    EXPECT_EQ(URLRead(temp / "folder.url"), "");
}

TEST(Bookmarks, AnchorsBecomeLowerCaseEntries) {
    const auto entries =
        ParseBookmarks("<DL><DT><A HREF=\"HTTP://Example.COM/Path\" ADD_DATE=\"1\">Title &amp; More</A>\r\n"
                       "<DT><a href=\"http://two/\">T\r\nwo</a>");
    EXPECT_THAT(Pairs(entries), ElementsAre("title &amp; more (firefox bookmark) -> http://example.com/path",
                                            "two (firefox bookmark) -> http://two/"));
    EXPECT_EQ(entries[0].WorkingFolder, "C:\\");
    EXPECT_EQ(entries[0].Arguments, "");
    EXPECT_EQ(entries[0].IconLocation, "");
}

TEST(Bookmarks, AMalformedAnchorEndsTheListAndATitleEndsAtTheNextTag) {
    const std::string good = "<a href=\"http://ok/\">Ok</a>";
    EXPECT_THAT(Pairs(ParseBookmarks(good + "<a href=\"http://no-closing-quote")),
                ElementsAre("ok (firefox bookmark) -> http://ok/"));
    EXPECT_THAT(Pairs(ParseBookmarks(good + "<a href=\"http://x/\" no tag end")),
                ElementsAre("ok (firefox bookmark) -> http://ok/"));
    EXPECT_THAT(
        Pairs(ParseBookmarks("<a href=\"http://x/\">no anchor end<a href=\"http://y/\">y")),
        ElementsAre("no anchor end (firefox bookmark) -> http://x/", "y (firefox bookmark) -> http://y/"));
    EXPECT_TRUE(ParseBookmarks("href=\"").empty());
    EXPECT_TRUE(ParseBookmarks("").empty());
    // Invalid UTF-8 comes out as replacement characters, so names stay text.
    EXPECT_THAT(Pairs(ParseBookmarks("<a href=\"http://x/\">A\xFF</a>")),
                ElementsAre("a\xEF\xBF\xBD (firefox bookmark) -> http://x/"));
}

// Each anchor once took everything up to the next "</a>" as its title, and the next search
// started inside that title: 96 KB of unclosed anchors made 384 MB of names.
TEST(Bookmarks, WhatTheReaderKeepsGrowsInStepWithTheFile) {
    std::string unclosed;
    std::size_t anchors = 0;
    for (; unclosed.size() < 96 * 1024; ++anchors)
        unclosed += "<a href=\"x\">\n";
    unclosed += "</a>";
    std::size_t leftOut = 0;
    const auto entries = ParseBookmarks(unclosed, &leftOut);
    std::size_t kept = 0;
    for (const auto& e : entries)
        kept += e.Name.size() + e.Target.size() + e.WorkingFolder.size();
    EXPECT_EQ(entries.size(), anchors);
    EXPECT_LT(kept, 4 * unclosed.size());
    EXPECT_EQ(leftOut, 0u);

    const std::string longTitle =
        "<a href=\"http://t/\">" + std::string(kMaxBookmarkTitleBytes, 'a') + "é</a>";
    EXPECT_EQ(ParseBookmarks(longTitle)[0].Name,
              std::string(kMaxBookmarkTitleBytes, 'a') + " (firefox bookmark)");
    const std::string longAddress =
        "<a href=\"" + std::string(kMaxBookmarkAddressBytes + 1, 'a') + "\">t</a>";
    EXPECT_TRUE(ParseBookmarks(longAddress + "<a href=\"b\">", &leftOut).size() == 1 && leftOut == 1);
    std::string tooMany;
    for (std::size_t i = 0; i <= kMaxBookmarks; ++i)
        tooMany += "<a href=\"\">";
    EXPECT_EQ(ParseBookmarks(tooMany, &leftOut).size(), kMaxBookmarks);
    EXPECT_EQ(leftOut, 1u);
}

std::filesystem::path CorpusDir() {
    if (const char* dir = std::getenv("TOVLEN_CORPUS_DIR"))
        return dir;
    return TOVLEN_CORPUS_DIR;
}

// Real files from ../shared/corpus/url and ../shared/corpus/bookmarks (see its SOURCES.md).
TEST(FavoritesCorpus, RealFilesGiveTheirAddresses) {
    ASSERT_TRUE(std::filesystem::is_directory(CorpusDir() / "url")) << "no corpus at " << CorpusDir();
    const std::pair<const char*, const char*> expected[] = {
        {"bnrbot__GitHub.url", "https://github.com/carlbennett/BNRBot"},
        {"btanks__homepage.url", "http://btanks.sourceforge.net/"},
        {"exoline__website.url", "http://github.com/exosite/exoline"},
        {"happysolver__Homepage.url", "http://happysolver.sourceforge.net/"},
        {"shenmue-translation-pack__website.url", "http://shenmuesubs.sourceforge.net/"},
    };
    for (const auto& [file, address] : expected)
        EXPECT_EQ(URLRead((CorpusDir() / "url" / file).string()), address) << file;

    for (const auto& entry : std::filesystem::directory_iterator(CorpusDir() / "bookmarks")) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        std::string lower = s.str();
        for (auto& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::size_t anchors = 0;
        for (auto at = lower.find("href=\""); at != std::string::npos; at = lower.find("href=\"", at + 1))
            ++anchors;
        const auto entries = ReadBookmarksFile(entry.path().string());
        EXPECT_EQ(entries.size(), anchors) << entry.path();
        for (const auto& e : entries)
            EXPECT_NE(lower.find("href=\"" + e.Target + "\""), std::string::npos) << e.Target;
    }
    const auto nested =
        ReadBookmarksFile((CorpusDir() / "bookmarks" / "shaarli__firefox_nested.htm").string());
    EXPECT_THAT(Pairs(nested),
                ::testing::Contains("timeline of the elves in tolkien’s works | lotrproject blog "
                                    "(firefox bookmark) -> http://lotrproject.com/blog/2013/02/08/"
                                    "timeline-of-the-elves-in-tolkiens-works/"));
}

} // namespace
} // namespace tov

#include "catalogue/build.h"
#include "support/run_tool.h"
#include "support/shortcut_writer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tov {
namespace {

using testing::RunTovlenctl;

// The fixed slots as the tool prints them (no built-in word needs escaping).
std::string FixedSlotsJson() {
    std::string json;
    for (const std::string& slot : FixedPhraseSlots())
        json += (json.empty() ? "\"" : ",\"") + slot + "\"";
    return json;
}
const std::string kFixedSlots = FixedSlotsJson();

class TovlenctlCatalogue : public ::testing::Test {
  protected:
    TovlenctlCatalogue() {
        testing::WriteFile(temp.Path() / "Tovlen" / "customprograms.lst", "Mail\r\nweb http://mail/\r\n");
        testing::WriteShortcut(temp.Path() / "Common" / "Notepad.lnk",
                               testing::ProgramLink("C:\\Windows\\notepad.exe", "/p \"x y\"", "C:\\Users"));
        testing::WriteFile(temp.Path() / "Favorites" / "Site.url",
                           "[InternetShortcut]\r\nURL=http://site/\r\n");
        testing::WriteFile(
            temp.Path() / "Profiles" / "p.default" / "bookmarks.html",
            "<A HREF=\"https://Example.com/Watch?v=AbC\">Fx</A><a href=\"file:///C:/x.scr\">X</a>");
        testing::WriteFile(
            temp.Path() / "Local" / "Google" / "Chrome" / "User Data" / "Default" / "Bookmarks",
            R"({"roots":{"bookmark_bar":{"children":[{"type":"url","name":"Cr","url":"http://Cr/"}]}}})");
    }
    std::vector<std::string> AllSources() const {
        return {"catalogue",        "--program-folder",   temp / "Tovlen",   "--common-programs",
                temp / "Common",    "--programs",         temp / "None",     "--favorites",
                temp / "Favorites", "--firefox-profiles", temp / "Profiles", "--local-app-data",
                temp / "Local"};
    }
    testing::TempFolder temp;
};

TEST_F(TovlenctlCatalogue, PrintsPhrasesTableAndCustomCommands) {
    const auto result = RunTovlenctl(AllSources());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(
        result.out,
        "{\"phrases\":[" + kFixedSlots +
            R"j(,"mail","run notepad","run site (ie bookmark)","run fx (firefox bookmark)",)j"
            R"j("run cr (chrome bookmark)"],)j"
            R"j("table":[{"name":"Notepad","target":"C:\\Windows\\notepad.exe","arguments":"/p \"x y\"",)j"
            R"j("working_folder":"C:\\Users","icon_location":""},)j"
            R"j({"name":"cr (chrome bookmark)","target":"http://Cr/","arguments":"","working_folder":"C:\\",)j"
            R"j("icon_location":""},)j"
            R"j({"name":"fx (firefox bookmark)","target":"https://Example.com/Watch?v=AbC","arguments":"",)j"
            R"j("working_folder":"C:\\",)j"
            R"j("icon_location":""},)j"
            R"j({"name":"site (ie bookmark)","target":"http://site/","arguments":"","working_folder":"",)j"
            R"j("icon_location":""}],)j"
            R"j("custom":[{"name":"Mail","action":"web http://mail/"}],"skipped_links":1})j"
            "\n");
}

// A relative profiles folder once read nothing and said nothing; a shortcut's relative target
// is resolved from its folder, so that folder must be the one below where the tool runs.
TEST_F(TovlenctlCatalogue, ARelativeFolderIsTakenFromWhereTheToolRuns) {
    testing::LinkSpec app;
    app.idList = std::string(8, '\x01');
    app.relativePath = "..\\Tools\\app.exe";
    testing::WriteShortcut(temp.Path() / "Menu" / "Group" / "App.lnk", app);
    const auto relative = [this](const char* folder) {
        return std::filesystem::relative(temp.Path() / folder, std::filesystem::current_path()).string();
    };
    ASSERT_FALSE(relative("Menu").starts_with('/'));
    const auto result = RunTovlenctl(
        {"catalogue", "--firefox-profiles", relative("Profiles"), "--programs", relative("Menu")});
    EXPECT_NE(result.out.find(R"("target":"https://Example.com/Watch?v=AbC")"), std::string::npos)
        << result.out;
    // The absolute folder with the program's separators, as JSON writes them.
    std::string tools;
    for (char c : (temp.Path() / "Menu" / "Tools" / "app.exe").string())
        tools += c == '/' ? std::string("\\\\") : std::string(1, c);
    EXPECT_NE(result.out.find(R"("target":")" + tools + R"(")"), std::string::npos) << result.out;
}

TEST_F(TovlenctlCatalogue, FlagsTurnTheBrowserSourcesOff) {
    auto args = AllSources();
    args.insert(args.end(), {"--ie", "0", "--ff", "0", "--chromium", "0"});
    const auto result = RunTovlenctl(args);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.find("bookmark"), std::string::npos);
    EXPECT_NE(result.out.find("\"run notepad\""), std::string::npos);
}

TEST_F(TovlenctlCatalogue, WithoutOptionsEverySourceIsAbsentHere) {
    EXPECT_EQ(RunTovlenctl({"catalogue"}).out,
              "{\"phrases\":[" + kFixedSlots + "],\"table\":[],\"custom\":[],\"skipped_links\":0}\n");
}

TEST_F(TovlenctlCatalogue, BadOptionsAreRefused) {
    EXPECT_EQ(RunTovlenctl({"catalogue", "--ie", "yes"}).exitCode, 2);
    EXPECT_EQ(RunTovlenctl({"catalogue", "--programs"}).exitCode, 2);
    EXPECT_EQ(RunTovlenctl({"catalogue", "--unknown", "x"}).exitCode, 2);
    EXPECT_EQ(RunTovlenctl({"lnk"}).exitCode, 2);
}

TEST_F(TovlenctlCatalogue, UrlAndBookmarksShowWhatTheImportsRead) {
    EXPECT_EQ(RunTovlenctl({"url", temp / "Favorites/Site.url"}).out, "{\"url\":\"http://site/\"}\n");
    EXPECT_EQ(RunTovlenctl({"url", temp / "missing.url"}).out, "{\"url\":\"\"}\n");
    EXPECT_EQ(
        RunTovlenctl({"bookmarks", temp / "Profiles/p.default/bookmarks.html"}).out,
        "{\"entries\":[{\"name\":\"fx (firefox bookmark)\",\"target\":\"https://Example.com/Watch?v=AbC\"}],"
        "\"skipped_links\":1}\n");
    const std::string link = RunTovlenctl({"lnk", temp / "Common/Notepad.lnk"}).out;
    EXPECT_NE(link.find(R"("ok":true,)"), std::string::npos) << link;
    EXPECT_NE(link.find(R"("target":"C:\\Windows\\notepad.exe",)"), std::string::npos) << link;
    EXPECT_NE(link.find(R"("arguments":"/p \"x y\"",)"), std::string::npos) << link;
}

} // namespace
} // namespace tov

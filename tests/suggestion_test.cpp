#include "app/app.h"
#include "app/command_line.h"
#include "catalogue/build.h"
#include "input/mouse.h"
#include "platform/fake/fake_platform.h"
#include "suggest/command_window.h"
#include "suggest/result_icon.h"
#include "suggest/suggestion_form.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tov {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
}

struct Suggestions : ::testing::Test {
    testing::TempFolder folder;
    FakePlatform platform;
    App app{platform};

    Suggestions() {
        platform.programFolder = folder.Path().string();
        app.catalogue.phrases = FixedPhraseSlots();
        app.catalogue.phrases.insert(app.catalogue.phrases.end(),
                                     {"run notepad", "notes", "run wordpad", "run paint"});
        LoadSuggestionForm(app.platform, app.forms);
        OpenCommandWindow(app.platform, app.forms, app.state.Transparency, app.platform.PrimaryMonitor());
    }
    std::string Type(const std::string& text) {
        app.state.CommandText = text;
        return MatchCommand(app);
    }
    Form& Window() { return *app.forms.frmCommandSuggestion; }
    std::vector<std::string> Rows() { return Lines(Window().At(frmCommandSuggestion::lblCommand).text); }
    std::vector<std::string> Highlight() {
        return Lines(Window().At(frmCommandSuggestion::lblCommandOverlay).text);
    }
    std::vector<const Control*> Pins() {
        std::vector<const Control*> pins;
        for (const Control& c : Window().controls)
            if (c.name == frmCommandSuggestion::imgTack && c.index > 0)
                pins.push_back(&c);
        return pins;
    }
    int RowHeight(const std::string& phrase) {
        return platform.MeasureText(Window().font, phrase, Window().dpi).height;
    }
    PicturePtr TemplatePin() { return Window().At(frmCommandSuggestion::imgTack, 0).picture; }
};

TEST_F(Suggestions, RowsOverlayPinsAndHeightFollowTheRanking) {
    EXPECT_EQ(Type("o"), "logoff");
    EXPECT_EQ(Rows(),
              (std::vector<std::string>{"logoff", "lock computer", "notes", "close", "reboot", "shutdown",
                                        "shutdown (force)", "run notepad", "run wordpad"}));
    EXPECT_EQ(Highlight()[0], "logoff");
    EXPECT_TRUE(Window().visible);

    app.state.SelectedIndex = 2;
    EXPECT_EQ(Type("o"), "notes");
    EXPECT_EQ(Highlight(), (std::vector<std::string>{"", "", "notes", "", "", "", "", "", ""}));

    const auto pins = Pins();
    ASSERT_EQ(pins.size(), Rows().size());
    for (std::size_t i = 0; i < pins.size(); ++i) {
        EXPECT_TRUE(pins[i]->visible);
        EXPECT_EQ(pins[i]->tag, Rows()[i]);
        EXPECT_EQ(pins[i]->picture, TemplatePin());
        if (i > 0) {
            EXPECT_GT(pins[i]->rect.top, pins[i - 1]->rect.top);
        }
    }
    const int tall = Window().rect.height;
    EXPECT_EQ(Window().At(frmCommandSuggestion::lblCommand).rect.height, tall);
    EXPECT_EQ(Window().At(frmCommandSuggestion::lblCommandOverlay).rect.height, tall);

    // A shorter list leaves no pins of the longer one behind, and a shorter window.
    app.state.SelectedIndex = 0;
    EXPECT_EQ(Type("pad"), "run notepad");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"run notepad", "run wordpad"}));
    EXPECT_EQ(Pins().size(), 2u);
    EXPECT_LT(Window().rect.height, tall);
    EXPECT_GE(Window().rect.height, 2 * RowHeight("run notepad"));
}

TEST_F(Suggestions, RowLimitAndSelectionClamp) {
    for (int i = 0; i < 25; ++i)
        app.catalogue.phrases.push_back("zz" + std::to_string(i));
    EXPECT_EQ(Type("zz"), "zz0");
    EXPECT_EQ(Rows().size(), 10u);
    EXPECT_EQ(Pins().size(), 10u);

    app.state.SelectedIndex = 30;
    EXPECT_EQ(Type("zz"), "zz24"); // the clamp reaches rows that are not shown
    EXPECT_EQ(app.state.SelectedIndex, 24);
    EXPECT_EQ(Highlight(), std::vector<std::string>(10, ""));

    app.state.SelectedIndex = 5;
    EXPECT_EQ(Type("note"), "run notepad");
    EXPECT_EQ(app.state.SelectedIndex, 1);
}

TEST_F(Suggestions, WithoutALimitRowsStopAtTheBottomOfTheWorkArea) {
    app.state.SuggestionCount = 0;
    for (int i = 0; i < 5000; ++i)
        app.catalogue.phrases.push_back("zz" + std::to_string(i));
    Type("zz");
    const int rowHeight = RowHeight("zz0");
    const int rows = static_cast<int>(Rows().size());
    const Rect window = ScreenRect(Window());
    const Rect work = platform.PrimaryMonitor().workArea;
    EXPECT_LE(window.top + window.height, work.top + work.height);
    EXPECT_GT(window.top + window.height + rowHeight, work.top + work.height); // no room for one more
    EXPECT_LT(rows, 5000);
}

TEST_F(Suggestions, EmptyTextAndNoMatchLeaveTheSelectionAlone) {
    Type("o");
    ASSERT_TRUE(Window().visible);
    const std::string rows = Window().At(frmCommandSuggestion::lblCommand).text;
    app.state.SelectedIndex = 7;
    EXPECT_EQ(Type(""), "");
    EXPECT_EQ(app.state.SelectedIndex, 7);
    EXPECT_TRUE(Window().visible);
    EXPECT_EQ(Window().At(frmCommandSuggestion::lblCommand).text, rows);

    EXPECT_EQ(Type("qqq"), "");
    EXPECT_EQ(app.state.SelectedIndex, 7);
    EXPECT_FALSE(Window().visible);
    EXPECT_EQ(Window().At(frmCommandSuggestion::lblCommand).text, rows);
}

TEST_F(Suggestions, RowsAreRebuiltButNotShownWhileTheCommandWindowIsHidden) {
    platform.HideForm(*app.forms.frmMain);
    EXPECT_EQ(Type("pad"), "run notepad");
    EXPECT_EQ(Rows().size(), 2u);
    EXPECT_FALSE(Window().visible);
    app.forms.frmMain.reset();
    EXPECT_EQ(Type("exit"), "exit");
    EXPECT_FALSE(Window().visible);
}

TEST_F(Suggestions, IconOfTheResultsEntryIsDrawnWhenTheWorkerHasIt) {
    app.catalogue.table = {
        {"C:\\Windows\\notepad.exe", "Notepad", "", "", ""},
        {"C:\\Windows\\notepad2.exe", "notepad", "", "", ""},
        {"C:\\Tools\\paint.exe", "Paint", "", "", "C:\\Tools\\Paint.ICO"},
        {"C:\\Tools\\wordpad.exe", "WordPad", "", "", "C:\\Windows\\shell32.dll"},
    };
    platform.holdBackground = true;
    auto icon = [&] { return app.forms.frmMain->At(frmMain::picIcon).picture; };
    auto source = [&] { return icon() ? icon()->source : std::string(); };
    Type("notepad");
    EXPECT_FALSE(icon()); // typing never waits for the program file
    platform.FinishBackground();
    EXPECT_EQ(source(), "C:\\Windows\\notepad.exe,0"); // the first entry of that name

    // Only the latest of the icons asked for during an extraction is extracted after it, and
    // one that comes back after the result moved on is kept but not drawn.
    ClearResultIcon(*app.forms.frmMain);
    Type("paint");
    Type("wordpad"); // a library: no icon, and the target is not tried
    Type("exit");
    platform.FinishBackground();
    EXPECT_FALSE(icon());
    EXPECT_EQ(app.icons.icons.size(), 2u);

    Type("paint"); // known now: drawn at once, and not read again
    EXPECT_EQ(source(), "C:\\Tools\\Paint.ICO,0");
    EXPECT_TRUE(platform.backgroundWork.empty());

    // Past the recheck time the file is looked at again on the worker.
    platform.AdvanceTime(kIconRecheck);
    Type("paint");
    EXPECT_EQ(source(), "C:\\Tools\\Paint.ICO,0");
    EXPECT_EQ(platform.backgroundWork.size(), 1u);
}

TEST(IconCache, KeepsTheMostRecentlyUsedWithinItsBound) {
    IconCache cache;
    for (std::size_t i = 0; i < kMaxCachedIcons; ++i)
        StoreIcon(cache, {std::to_string(i), 0}, {});
    ASSERT_TRUE(FindCachedIcon(cache, {"0", 0}));
    StoreIcon(cache, {"new", 0}, {});
    EXPECT_EQ(cache.icons.size(), kMaxCachedIcons);
    EXPECT_TRUE(FindCachedIcon(cache, {"0", 0}));
    EXPECT_FALSE(FindCachedIcon(cache, {"1", 0}));
    EXPECT_TRUE(FindCachedIcon(cache, {"new", 0}));
}

TEST_F(Suggestions, PinClickTacksAndUntacks) {
    folder.Write("LIGHTON.ico", "icon");
    EXPECT_EQ(Type("o"), "logoff");
    ASSERT_EQ(Rows()[3], "close");
    platform.ClickControl(Window(), frmCommandSuggestion::imgTack, 4);

    EXPECT_EQ(folder.Read("commandtack.lst"), "close\r\no\r\n");
    EXPECT_EQ(Rows()[0], "close");
    EXPECT_EQ(Highlight()[0], "close");
    ASSERT_TRUE(Window().At(frmCommandSuggestion::imgTack, 1).picture);
    EXPECT_EQ(Window().At(frmCommandSuggestion::imgTack, 1).picture->source,
              folder.Path().string() + "\\LIGHTON.ico");
    EXPECT_EQ(Window().At(frmCommandSuggestion::imgTack, 2).picture, TemplatePin());
    EXPECT_TRUE(app.state.DisplayDirty);
    EXPECT_EQ(Type("o"), "close");
    EXPECT_EQ(Type("ok"), "");

    // The lit picture follows the file; without it the row still untacks.
    std::filesystem::remove(folder.Path() / "LIGHTON.ico");
    EXPECT_EQ(Type("o"), "close");
    EXPECT_FALSE(Window().At(frmCommandSuggestion::imgTack, 1).picture);
    platform.ClickControl(Window(), frmCommandSuggestion::imgTack, 1);
    EXPECT_EQ(folder.Read("commandtack.lst"), "");
    EXPECT_EQ(Rows()[0], "logoff");
    EXPECT_EQ(Window().At(frmCommandSuggestion::imgTack, 1).picture, TemplatePin());
}

// A pin click whose save failed once went unnoticed: the pin still takes, the user sees one
// balloon a session for the file, and the log has every failure.
TEST_F(Suggestions, APinTheFileCannotTakeIsToldOnceASession) {
    platform.programFolder = folder / "missing";
    Type("o");
    platform.ClickControl(Window(), frmCommandSuggestion::imgTack, 4);
    EXPECT_EQ(Rows()[0], "close");
    platform.ClickControl(Window(), frmCommandSuggestion::imgTack, 2);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "missing"));
    const std::string told = "Tovlen could not save commandtack.lst: no such file or directory.";
    ASSERT_EQ(platform.balloons.size(), 1u);
    EXPECT_EQ(platform.balloons[0].title, "Tovlen");
    EXPECT_EQ(platform.balloons[0].text, told);
    EXPECT_EQ(std::count(platform.logLines.begin(), platform.logLines.end(), told), 2);
}

TEST_F(Suggestions, ButtonPressOutsideTheSuggestionsClosesTheCommandLine) {
    Type("o");
    Typing typing;
    typing.windowOpen = true;
    typing.commandText = "o";
    typing.suggestionWindow = Window().handle;
    std::vector<TypingNews> news;
    const NewsSink tell = [&news](TypingNews n) { news.push_back(std::move(n)); };
    const auto press = [&](MouseMessage message, Point at) {
        return MouseProc(app.platform, typing, {message, at}, tell);
    };
    const Point onRows{300, 60};
    ASSERT_EQ(platform.TopLevelWindowAt(onRows), Window().handle);

    EXPECT_EQ(press(MouseMessage::LeftDown, onRows), HookDecision::Pass);
    for (MouseMessage other : {MouseMessage::Move, MouseMessage::MiddleDown, MouseMessage::LeftUp})
        EXPECT_EQ(press(other, {900, 700}), HookDecision::Pass);
    EXPECT_TRUE(typing.windowOpen);
    EXPECT_EQ(typing.commandText, "o");
    EXPECT_TRUE(news.empty());

    EXPECT_EQ(press(MouseMessage::RightDown, {10, 10}), HookDecision::Pass);
    EXPECT_FALSE(typing.windowOpen);
    EXPECT_EQ(typing.commandText, "");
    ASSERT_EQ(news.size(), 1u);
    EXPECT_FALSE(news[0].windowOpen);
    EXPECT_EQ(press(MouseMessage::LeftDown, {10, 10}), HookDecision::Pass);
    EXPECT_EQ(news.size(), 1u) << "a closed line has nothing to tell";

    typing.windowOpen = true;
    platform.HideForm(Window()); // a hidden suggestion window is not under any click
    EXPECT_EQ(press(MouseMessage::LeftDown, onRows), HookDecision::Pass);
    EXPECT_FALSE(typing.windowOpen);
}

} // namespace
} // namespace tov

// What a screen reader is told about the command and suggestion windows, and the colours they
// take under a high-contrast theme.
#include "app/app.h"
#include "app/command_line.h"
#include "platform/fake/fake_platform.h"
#include "prefs/preferences_form.h"
#include "prefs/welcome.h"
#include "suggest/accessible_view.h"
#include "suggest/command_window.h"
#include "suggest/suggestion_form.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

namespace tov {
namespace {

constexpr SystemColours kHighContrast{.window = Rgb(0, 0, 0),
                                      .windowText = Rgb(255, 255, 255),
                                      .grayText = Rgb(63, 242, 63),
                                      .highlight = Rgb(26, 235, 255),
                                      .highlightText = Rgb(0, 0, 0)};

struct Access : ::testing::Test {
    testing::TempFolder folder;
    FakePlatform platform;
    App app{platform};

    Access() {
        platform.programFolder = folder.Path().string();
        app.catalogue.phrases = {"", "exit", "run notepad", "notes", "run wordpad", "lock computer"};
        LoadSuggestionForm(platform, app.forms);
        OpenCommandWindow(platform, app.forms, app.state.Transparency);
    }
    void Type(const std::string& text, std::int16_t selected = 0) {
        app.state.CommandText = text;
        app.state.SelectedIndex = selected;
        RefreshCommandWindow(app);
    }
    AccessibleWindow Command() { return DescribeCommandWindow(*app.forms.frmMain); }
    AccessibleWindow Rows() { return DescribeSuggestions(*app.forms.frmCommandSuggestion); }
};

TEST_F(Access, TheCommandWindowReadsTheTypedLineTheCompletionAndItsMessages) {
    Type("note");
    AccessibleWindow window = Command();
    EXPECT_EQ(window.self.role, AccessibleRole::ComboBox);
    EXPECT_EQ(window.self.value, "note");
    ASSERT_EQ(window.parts.size(), 2u);
    EXPECT_EQ(window.parts[0].name, "notes");
    EXPECT_EQ(window.self.description, "notes");
    EXPECT_FALSE(window.parts[1].alert);

    ASSERT_TRUE(ShowCommandWindowMessage(platform, app.forms, app.state.Transparency, "Program not found."));
    window = Command();
    EXPECT_EQ(window.parts[1].name, "Program not found.");
    EXPECT_TRUE(window.parts[1].alert);
    // Typing on writes a description of the line, which is no message to announce.
    Type("exit");
    EXPECT_FALSE(Command().parts[1].alert);
}

TEST_F(Access, EachRowReadsItsPhrasePositionSelectionAndPin) {
    SetTackList(app.usage, {{"run wordpad", "o"}});
    Type("o", 2);
    const AccessibleWindow list = Rows();
    EXPECT_EQ(list.self.role, AccessibleRole::List);
    ASSERT_EQ(list.parts.size(), 4u);
    int selected = 0;
    for (std::size_t i = 0; i < list.parts.size(); ++i) {
        const AccessiblePart& row = list.parts[i];
        EXPECT_EQ(row.role, AccessibleRole::ListItem);
        EXPECT_EQ(row.description, std::to_string(i + 1) + " of 4, Enter runs it");
        EXPECT_EQ(row.checked, row.name == "run wordpad") << row.name;
        EXPECT_GT(row.rect.height, 0);
        selected += row.selected ? static_cast<int>(i) + 1 : 0;
    }
    EXPECT_EQ(selected, 3) << "the third row, SelectedIndex 2, and no other";
    EXPECT_EQ(list.parts[0].name, "run wordpad") << "the tacked phrase leads";
}

TEST_F(Access, ScreenReadersHearWhatChangedAndOnlyThat) {
    using K = AccessibleEventKind;
    Type("note");
    const AccessibleWindow first = Command();
    EXPECT_EQ(AccessibleChanges(nullptr, first),
              (std::vector<AccessibleEvent>{{K::ValueChange, 0}, {K::NameChange, 1}}));
    EXPECT_TRUE(AccessibleChanges(&first, first).empty());
    ShowCommandWindowMessage(platform, app.forms, app.state.Transparency, "Program not found.");
    EXPECT_EQ(AccessibleChanges(&first, Command()), (std::vector<AccessibleEvent>{{K::Alert, 2}}));

    Type("o");
    const AccessibleWindow rows = Rows();
    Type("o", 1);
    EXPECT_EQ(AccessibleChanges(&rows, Rows()), (std::vector<AccessibleEvent>{{K::Selection, 2}}));
    Type("no");
    // Other rows under the highlight: the list changed, and the highlighted row is news.
    EXPECT_EQ(AccessibleChanges(&rows, Rows()),
              (std::vector<AccessibleEvent>{{K::Reorder, 0}, {K::Selection, 1}}));
}

TEST_F(Access, AHighContrastThemeGivesBothWindowsTheSystemsColoursAndSwitchesLive) {
    Form& command = *app.forms.frmMain;
    Form& list = *app.forms.frmCommandSuggestion;
    EXPECT_NE(command.background, nullptr);
    platform.highContrast = kHighContrast;
    command.onSystemColoursChange();
    Type("o", 1);
    EXPECT_EQ(command.backColour, kHighContrast.window);
    EXPECT_EQ(command.background, nullptr) << "no artwork under a high-contrast theme";
    EXPECT_EQ(command.At(frmMain::lblCommand).textColour, kHighContrast.windowText);
    EXPECT_EQ(command.At(frmMain::lblCommandBack).textColour, kHighContrast.grayText);
    EXPECT_EQ(list.backColour, kHighContrast.window);
    EXPECT_EQ(list.At(frmCommandSuggestion::lblCommand).textColour, kHighContrast.windowText);
    EXPECT_EQ(list.At(frmCommandSuggestion::lblCommandOverlay).textColour, kHighContrast.highlightText);
    const Control& bar = list.At(frmCommandSuggestion::lblHighlightBar);
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(bar.backColour, kHighContrast.highlight);
    const int lineHeight = platform.MeasureText(list.font, "x").height;
    EXPECT_EQ(bar.rect.top, list.At(frmCommandSuggestion::lblCommand).rect.top + lineHeight)
        << "on the second row";

    platform.highContrast.reset();
    command.onSystemColoursChange();
    list.onSystemColoursChange();
    EXPECT_NE(command.background, nullptr);
    EXPECT_NE(command.backColour, kHighContrast.window);
    EXPECT_FALSE(list.At(frmCommandSuggestion::lblHighlightBar).visible);
    EXPECT_NE(list.backColour, kHighContrast.window);
}

TEST_F(Access, ANearMatchRowSaysSoAndIsMarkedQuietlyInEveryTheme) {
    app.catalogue.phrases = {"", "run visual studio code", "run vscode"};
    app.catalogue.forms = BuildMatchForms(app.catalogue.phrases);
    Type("vsc", 1);
    const AccessibleWindow list = Rows();
    ASSERT_EQ(list.parts.size(), 2u);
    EXPECT_EQ(list.parts[0].name, "run vscode");
    EXPECT_EQ(list.parts[0].description, "1 of 2, Enter runs it");
    EXPECT_EQ(list.parts[1].name, "run visual studio code");
    EXPECT_EQ(list.parts[1].description, "2 of 2, near match, Enter runs it");
    EXPECT_TRUE(list.parts[1].selected);

    Form& form = *app.forms.frmCommandSuggestion;
    const Control& nearRows = form.At(frmCommandSuggestion::lblNearRows);
    EXPECT_EQ(nearRows.text, "\r\nrun visual studio code" + std::string(kNearMark) + "\r\n");
    EXPECT_EQ(form.At(frmCommandSuggestion::lblCommand).text, "run vscode\r\n\r\n");
    EXPECT_NE(nearRows.textColour, form.At(frmCommandSuggestion::lblCommand).textColour);
    platform.highContrast = kHighContrast;
    form.onSystemColoursChange();
    EXPECT_EQ(nearRows.textColour, kHighContrast.grayText);

    app.state.NearMatches = 0;
    Type("vsc");
    EXPECT_EQ(Rows().parts.size(), 1u);
}

TEST(AccessKeys, AreMarkedForTheSystemAndAmpersandsShowAsThemselves) {
    const auto marked = [](std::string text, char key) {
        return TextWithAccessKey({.text = text, .accessKey = key});
    };
    EXPECT_EQ(marked("Okay", 'O'), "&Okay");
    EXPECT_EQ(marked("Change", 'h'), "C&hange");
    EXPECT_EQ(marked("Include FireFox Favorites", 'f'), "Include &FireFox Favorites");
    EXPECT_EQ(marked("Tom & Jerry", 'J'), "Tom && &Jerry");
    EXPECT_EQ(marked("R&D", 0), "R&&D");
    EXPECT_EQ(marked("Locate", 'z'), "Locate");
}

// Two controls on show with the same letter would leave one of them out of reach.
TEST(AccessKeys, EachWindowGivesEveryControlItsOwnLetterFromItsText) {
    FakePlatform platform;
    Forms forms;
    for (const Form& form : {MakeWelcome(platform, forms), MakePreferencesForm(platform.ScreenSize())}) {
        std::set<int> letters;
        for (const Control& c : form.controls) {
            if (c.accessKey == 0 || !c.visible || (!c.parent.Empty() && !form.At(c.parent).visible))
                continue;
            EXPECT_TRUE(letters.insert(std::tolower(static_cast<unsigned char>(c.accessKey))).second)
                << form.name << ": " << c.text;
            EXPECT_NE(TextWithAccessKey(c).find('&'), std::string::npos) << form.name << ": " << c.text;
        }
        EXPECT_FALSE(letters.empty()) << form.name;
    }
}

TEST(DialogText, ReadsTheDrawnLabelsAndFramesWithTheControlsInTheirPlaces) {
    FakePlatform platform;
    Forms forms;
    const Form welcome = MakeWelcome(platform, forms);
    const AccessibleWindow read = DescribeForm(welcome);
    EXPECT_EQ(read.self.name, "Welcome to Tovlen");
    ASSERT_GE(read.parts.size(), 3u);
    EXPECT_EQ(read.parts.front().name, "Welcome to Tovlen!");
    const AccessiblePart& okay = read.parts.back();
    EXPECT_EQ(okay.role, AccessibleRole::Control);
    EXPECT_EQ(welcome.controls[static_cast<std::size_t>(okay.nativeControl)].name, frmWelcome::cmdOk);
    EXPECT_EQ(okay.rect.left, welcome.At(frmWelcome::cmdOk).rect.left);

    // What the hidden "Add Command" frame holds is not read; a frame's controls sit where it does.
    const Form prefs = MakePreferencesForm(platform.ScreenSize());
    bool readTheHiddenFrame = false;
    for (const AccessiblePart& part : DescribeForm(prefs).parts) {
        readTheHiddenFrame |= part.name == "Add Command" && part.role == AccessibleRole::Grouping;
        if (part.name == "Check Now For Updates") {
            EXPECT_EQ(part.rect.left, prefs.At(frmPrefs::fmeUpdates).rect.left +
                                          prefs.At(frmPrefs::cmdCheckUpdates).rect.left);
        }
    }
    EXPECT_FALSE(readTheHiddenFrame);
}

} // namespace
} // namespace tov

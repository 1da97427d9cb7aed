#include "commands/window_commands.h"
#include "platform/fake/fake_platform.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

TEST(FindWindowByCaption, FirstWindowInZOrderWhoseCaptionHoldsTheText) {
    FakePlatform platform;
    const WindowHandle untitled = platform.AddWindow("", false);
    const WindowHandle notepad = platform.AddWindow("Untitled - Notepad", false);
    const WindowHandle notes = platform.AddWindow("My Notes", false);
    const WindowHandle greek =
        platform.AddWindow("\xCE\x91\xCE\xA1\xCE\xA7\xCE\x95\xCE\x99\xCE\x9F", false); // ΑΡΧΕΙΟ

    EXPECT_EQ(FindWindowByCaption(platform, "note"), notepad);
    EXPECT_EQ(FindWindowByCaption(platform, "MY NOTES"), notes);
    EXPECT_EQ(FindWindowByCaption(platform, "\xCE\xB1\xCF\x81\xCF\x87"), greek); // αρχ
    EXPECT_EQ(FindWindowByCaption(platform, "calculator"), 0u);
    // Every caption holds the empty text, so the topmost window is found, caption or not.
    EXPECT_EQ(FindWindowByCaption(platform, ""), untitled);
}

TEST(FindWindowByCaption, TheProgramsOwnWindowsAreNotTheUsers) {
    FakePlatform platform;
    const WindowHandle notes = platform.AddWindow("Tovlen notes - Notepad", false);
    Form tray;
    tray.caption = "Tovlen";
    platform.CreateFormWindow(tray); // hidden, above every other window
    EXPECT_EQ(FindWindowByCaption(platform, "tovlen"), notes);
    EXPECT_EQ(FindWindowByCaption(platform, ""), notes);
    platform.RequestWindowClose(notes);
    EXPECT_EQ(FindWindowByCaption(platform, "tovlen"), 0u);
}

} // namespace
} // namespace tov

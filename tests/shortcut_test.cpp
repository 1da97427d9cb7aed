#include "catalogue/shortcut.h"
#include "support/shortcut_writer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

using testing::LinkSpec;
using testing::ShortcutBytes;

ShortcutInfo Parse(const std::string& bytes, bool expectOk = true) {
    ShortcutInfo info;
    EXPECT_EQ(ParseShortcut(bytes, info), expectOk);
    return info;
}

TEST(ShortcutParser, LocalTargetWithEveryString) {
    LinkSpec spec =
        testing::ProgramLink("C:\\Program Files\\App\\app.exe", "--fast", "C:\\Program Files\\App");
    spec.description = "Runs the app";
    spec.relativePath = "..\\..\\Program Files\\App\\app.exe";
    spec.iconLocation = "%SystemRoot%\\system32\\shell32.dll";
    spec.attributes = 0x21;
    const ShortcutInfo info = Parse(ShortcutBytes(spec));
    EXPECT_EQ(info.Target, "C:\\Program Files\\App\\app.exe"); // empty suffix adds nothing
    EXPECT_EQ(info.Arguments, "--fast");
    EXPECT_EQ(info.WorkingFolder, "C:\\Program Files\\App");
    EXPECT_EQ(info.Description, "Runs the app");
    EXPECT_EQ(info.RelativePath, "..\\..\\Program Files\\App\\app.exe");
    EXPECT_EQ(info.IconLocation, "%SystemRoot%\\system32\\shell32.dll");
    EXPECT_EQ(info.Attributes, 0x21u);
}

TEST(ShortcutParser, NetworkTargetJoinsShareAndSuffix) {
    LinkSpec spec;
    spec.netName = "\\\\server\\share";
    spec.commonPathSuffix = "tools\\x.exe";
    EXPECT_EQ(Parse(ShortcutBytes(spec)).Target, "\\\\server\\share\\tools\\x.exe");
    spec.netName = "\\\\server\\share\\";
    EXPECT_EQ(Parse(ShortcutBytes(spec)).Target, "\\\\server\\share\\tools\\x.exe");
}

TEST(ShortcutParser, NamesAreKeptWholeInUtf8) {
    LinkSpec spec = testing::ProgramLink("C:\\??\\app.exe");
    spec.unicodeLinkInfo = true;
    spec.unicodeLocalBasePath = "C:\\说明\\app.exe";
    spec.description = "Bibliothèque 說明 \xF0\x9F\x98\x80 ok"; // includes a surrogate pair in UTF-16
    const ShortcutInfo info = Parse(ShortcutBytes(spec));
    EXPECT_EQ(info.Target, "C:\\说明\\app.exe");
    EXPECT_EQ(info.Description, "Bibliothèque 說明 \xF0\x9F\x98\x80 ok");

    LinkSpec ansi = testing::ProgramLink("C:\\Programme\\M\xE9thode.exe"); // Windows-1252 byte for é
    EXPECT_EQ(Parse(ShortcutBytes(ansi)).Target, "C:\\Programme\\Méthode.exe");
}

TEST(ShortcutParser, StringsEndAtTheirFirstNul) {
    for (bool unicode : {true, false}) {
        LinkSpec spec = testing::ProgramLink("C:\\a.exe", "-x", "C:\\");
        spec.unicode = unicode;
        spec.countTerminatingNul = true;
        spec.iconLocation = "C:\\a.ico";
        const ShortcutInfo info = Parse(ShortcutBytes(spec));
        EXPECT_EQ(info.Arguments, "-x") << unicode;
        EXPECT_EQ(info.WorkingFolder, "C:\\") << unicode;
        EXPECT_EQ(info.IconLocation, "C:\\a.ico") << unicode;
    }
}

TEST(ShortcutParser, WithoutLinkInfoTheStringsFollowTheIdList) {
    LinkSpec spec;
    spec.idList = std::string(30, '\x01');
    spec.arguments = "/SendTo";
    spec.relativePath = ".\\tool.exe";
    ShortcutInfo info;
    EXPECT_TRUE(ParseShortcut(ShortcutBytes(spec), info)); // well formed, though it names no target
    EXPECT_EQ(info.Target, "");
    EXPECT_EQ(info.Arguments, "/SendTo");
    EXPECT_EQ(info.RelativePath, ".\\tool.exe");
}

TEST(ShortcutParser, IconWrittenWithEnvironmentVariablesWinsWhenFlagged) {
    constexpr std::uint32_t HasExpIcon = 0x4000;
    LinkSpec spec = testing::ProgramLink("C:\\Windows\\app.exe");
    spec.iconLocation = "C:\\Windows\\app.ico";
    spec.extraFlags = HasExpIcon;
    spec.extraData = std::string("\x0C\0\0\0\x02\0\0\xA0\0\0\0\0", 12) + // another block first
                     testing::IconEnvironmentBlock("%windir%\\ansi.ico", u"%windir%\\app.ico");
    EXPECT_EQ(Parse(ShortcutBytes(spec)).IconLocation, "%windir%\\app.ico");

    spec.extraData = testing::IconEnvironmentBlock("%windir%\\ansi.ico", u"");
    EXPECT_EQ(Parse(ShortcutBytes(spec)).IconLocation, "%windir%\\ansi.ico");

    // A damaged block, or none, leaves the icon of the string section.
    spec.extraData = testing::IconEnvironmentBlock("%windir%\\ansi.ico", u"x", 0x300);
    EXPECT_EQ(Parse(ShortcutBytes(spec)).IconLocation, "C:\\Windows\\app.ico");
    spec.extraData = testing::IconEnvironmentBlock("%windir%\\ansi.ico", u"x").substr(0, 100);
    EXPECT_EQ(Parse(ShortcutBytes(spec)).IconLocation, "C:\\Windows\\app.ico");
    spec.extraFlags = 0;
    spec.extraData = testing::IconEnvironmentBlock("%windir%\\ansi.ico", u"%windir%\\app.ico");
    EXPECT_EQ(Parse(ShortcutBytes(spec)).IconLocation, "C:\\Windows\\app.ico");
}

TEST(ShortcutParser, PositionsBeyondSixteenBitsAreReached) {
    LinkSpec spec = testing::ProgramLink("C:\\far\\away.exe", "after the long id list");
    spec.idList = std::string(65000, '\x02');
    spec.description = std::string(40000, 'd');
    const ShortcutInfo info = Parse(ShortcutBytes(spec));
    EXPECT_EQ(info.Target, "C:\\far\\away.exe");
    EXPECT_EQ(info.Description.size(), 40000u);
    EXPECT_EQ(info.Arguments, "after the long id list");
}

TEST(ShortcutParser, NotALinkGivesNothing) {
    std::string bytes = ShortcutBytes(testing::ProgramLink("C:\\a.exe"));
    bytes[0] = 0x4D;
    const ShortcutInfo info = Parse(bytes, false);
    EXPECT_EQ(info.Target, "");
    EXPECT_EQ(info.Attributes, 0u);
    Parse("", false);
    Parse(std::string("\x4C\x00\x00", 3), false);
}

TEST(ShortcutParser, EveryTruncationIsRejectedQuietly) {
    LinkSpec spec =
        testing::ProgramLink("C:\\Program Files\\App\\app.exe", "--fast", "C:\\Program Files\\App");
    spec.description = "description";
    spec.iconLocation = "icon.ico";
    const std::string full = ShortcutBytes(spec);
    const std::size_t lastByteRead = full.size() - 4; // the closing extra-data block is not read
    for (std::size_t length = 0; length < lastByteRead; ++length) {
        ShortcutInfo info;
        ASSERT_FALSE(ParseShortcut(std::string_view(full).substr(0, length), info)) << length;
        ASSERT_EQ(info.Target, "") << length;
        ASSERT_EQ(info.Arguments, "") << length;
    }
}

// Offsets inside the link-information block of a ProgramLink, from the start of the file.
constexpr std::size_t kIdListEnd = 0x4C + 2 + 22;
constexpr std::size_t kLinkInfoSize = kIdListEnd;
constexpr std::size_t kLocalBasePathOffset = kIdListEnd + 16;
constexpr std::size_t kSuffixOffset = kIdListEnd + 24;

void PutU32(std::string& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

TEST(ShortcutParser, HostileOffsetsAndCountsAreRejected) {
    const std::string good = ShortcutBytes(testing::ProgramLink("C:\\a.exe", "-x"));
    ASSERT_EQ(Parse(good).Target, "C:\\a.exe");
    const std::pair<std::size_t, std::uint32_t> corruptions[] = {
        {kLinkInfoSize, 0xFFFFFFFF},        {kLinkInfoSize, 4},          {kLocalBasePathOffset, 0xFFFFFFF0},
        {kLocalBasePathOffset, 0x7FFFFFFF}, {kSuffixOffset, 0xFFFFFFFF},
    };
    for (const auto& [at, value] : corruptions) {
        std::string bad = good;
        PutU32(bad, at, value);
        Parse(bad, false);
    }
    std::string badIdList = good;
    badIdList[0x4C] = '\xFF';
    badIdList[0x4D] = '\xFF';
    Parse(badIdList, false);

    // A local path whose terminator lies outside its block.
    std::string unterminated = good;
    const std::size_t blockSize = static_cast<unsigned char>(good[kLinkInfoSize]);
    PutU32(unterminated, kSuffixOffset, static_cast<std::uint32_t>(blockSize - 1));
    unterminated[kLinkInfoSize + blockSize - 1] = 'x';
    Parse(unterminated, false);

    // A string count larger than what is left of the file.
    std::string longCount = good;
    longCount[kIdListEnd + blockSize] = '\xFF';
    Parse(longCount, false);
}

TEST(ShortcutParser, NetworkBlockTooSmallIsRejected) {
    LinkSpec spec;
    spec.netName = "\\\\server\\share";
    std::string bytes = ShortcutBytes(spec);
    const std::size_t block = 0x4C;
    const std::size_t network = block + static_cast<unsigned char>(bytes[block + 20]);
    PutU32(bytes, network, 8);
    Parse(bytes, false);
}

TEST(ReadShortcut, AddsTheExtensionAndNeedsATarget) {
    testing::TempFolder temp;
    testing::WriteShortcut(temp.Path() / "App.lnk", testing::ProgramLink("C:\\App\\app.exe"));
    LinkSpec noTarget;
    noTarget.arguments = "x";
    testing::WriteShortcut(temp.Path() / "Bare.lnk", noTarget);

    ShortcutInfo info;
    EXPECT_TRUE(ReadShortcut(temp / "App", info));
    EXPECT_EQ(info.Target, "C:\\App\\app.exe");
    EXPECT_FALSE(ReadShortcut(temp / "Bare.lnk", info));
    EXPECT_EQ(info.Arguments, "x");
    EXPECT_FALSE(ReadShortcut(temp / "Missing.lnk", info));
    EXPECT_EQ(info.Arguments, "");
}

} // namespace
} // namespace tov

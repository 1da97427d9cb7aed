#include "base/text.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

std::string Utf8Of(char16_t c) {
    return Utf16ToUtf8(std::u16string(1, c));
}

TEST(LowerCase, CapitalsOfLatinGreekAndCyrillicBecomeTheirSmallLetters) {
    EXPECT_EQ(LowerCase("NOTEPAD++ ÄÖÜ"), "notepad++ äöü");
    EXPECT_EQ(LowerCase("ŁÓDŹ ŸĹĽ İ"), "łódź ÿĺľ i");
    EXPECT_EQ(LowerCase("ΩΜΕΓΑ ЖЁЛТЫЙ"), "ωμεγα жёлтый");
    EXPECT_EQ(LowerCase("× ÷ ß ĸ ŉ ſ"), "× ÷ ß ĸ ŉ ſ");
}

// The catalogue keeps lower-cased names, and the ranking lower-cases typed text again to
// compare: a letter that lower-cases to a capital would never match itself.
TEST(LowerCase, LowerCasingTwiceChangesNothing) {
    for (char16_t c = 0x20; c < 0x530; ++c) {
        const std::string once = LowerCase(Utf8Of(c));
        EXPECT_EQ(LowerCase(once), once) << "U+" << std::hex << static_cast<unsigned>(c);
    }
}

} // namespace
} // namespace tov

#include "suggest/lower_compare.h"

#include "base/text.h"

namespace tov {

namespace {

// The one character that LowerCase shortens: the Turkish capital dotted I (0xC4 0xB0) becomes "i".
constexpr char kShrinkingLeadByte = '\xC4';

} // namespace

// Every other character keeps its byte offset, so with equal sizes an ASCII byte decides at
// once, and unequal sizes need that one character.
bool LowersTo(std::string_view text, std::string_view lowered) {
    if (text.size() < lowered.size())
        return false;
    if (text.size() == lowered.size()) {
        std::size_t i = 0;
        for (; i < text.size(); ++i) {
            auto c = static_cast<unsigned char>(text[i]);
            if (c >= 0x80)
                break;
            if (c >= 'A' && c <= 'Z')
                c = static_cast<unsigned char>(c + ('a' - 'A'));
            if (c != static_cast<unsigned char>(lowered[i]))
                return false;
        }
        if (i == text.size())
            return true;
    } else if (text.find(kShrinkingLeadByte) == std::string_view::npos) {
        return false;
    }
    return LowerCase(text) == lowered;
}

} // namespace tov

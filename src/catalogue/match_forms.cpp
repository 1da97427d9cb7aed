#include "catalogue/match_forms.h"

#include "base/text.h"
#include "catalogue/built_in_commands.h"
#include "catalogue/fold.h"
#include "catalogue/match_tables.h"
#include "catalogue/readings.h"

#include <array>
#include <cctype>
#include <limits>

namespace tov {

namespace {

// Digits and punctuation are seldom typed; the characters of other scripts, more often.
constexpr int kLetterBits = 26;
constexpr int kDigitBits = 5;
constexpr int kOtherAsciiBits = 5;
constexpr int kNonAsciiBits = 28;
static_assert(kLetterBits + kDigitBits + kOtherAsciiBits + kNonAsciiBits == 64);

constexpr std::array<std::uint8_t, 0x80> kLetterBit = [] {
    std::array<std::uint8_t, 0x80> bits{};
    for (int b = 0; b < 0x80; ++b) {
        if (b >= 'a' && b <= 'z')
            bits[b] = static_cast<std::uint8_t>(b - 'a');
        else if (b >= 'A' && b <= 'Z')
            bits[b] = static_cast<std::uint8_t>(b - 'A');
        else if (b >= '0' && b <= '9')
            bits[b] = static_cast<std::uint8_t>(kLetterBits + (b - '0') % kDigitBits);
        else if (b < 0x80)
            bits[b] = static_cast<std::uint8_t>(kLetterBits + kDigitBits + b % kOtherAsciiBits);
    }
    return bits;
}();

// Scripts whose words are read through their readings, not their letters.
bool IsReadScript(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF);
}

struct Letter {
    std::string_view initial; // its first character, folded
    bool word = false;        // part of a word: not punctuation, a blank or a read script
    bool upper = false;       // a capital where its source wrote the name
    bool letter = false;      // a word character that is no digit
};

std::string_view FirstCharacter(std::string_view text) {
    std::size_t end = 0;
    if (!text.empty())
        DecodeUtf8(text, end);
    return text.substr(0, end);
}

// `phrase` with each character's fold and class; `spelled` says which were capitals, when each
// of its characters lower-cases to the phrase's (LowerCase keeps the count of characters).
void ReadLetters(std::string_view phrase, std::string_view spelled, std::vector<Letter>& letters) {
    letters.clear();
    bool spellingFits = true;
    std::size_t j = 0;
    for (std::size_t i = 0; i < phrase.size();) {
        const std::size_t start = i;
        const char32_t c = DecodeUtf8(phrase, i);
        const std::string_view self = phrase.substr(start, i - start);
        bool capital = false;
        if (spellingFits && j < spelled.size()) {
            const std::size_t from = j;
            const char32_t source = DecodeUtf8(spelled, j);
            capital = source != c;
            spellingFits = !capital || LowerCase(spelled.substr(from, j - from)) == self;
        } else {
            spellingFits = false;
        }
        Letter l;
        if (c < 0x80) {
            const auto b = static_cast<unsigned char>(c);
            l.initial = self;
            l.letter = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
            l.word = l.letter || (b >= '0' && b <= '9');
        } else {
            const auto folded = FoldOf(c);
            if (folded && folded->empty())
                continue; // a combining mark belongs to the letter before it
            l.initial = FirstCharacter(folded ? *folded : self);
            const auto first = static_cast<unsigned char>(l.initial[0]);
            l.word = first < 0x80 ? std::isalnum(first) != 0 : !IsWordSeparator(c) && !IsReadScript(c);
            l.letter = l.word && !(first >= '0' && first <= '9');
        }
        l.upper = capital && l.letter;
        letters.push_back(l);
    }
    if (!spellingFits || j != spelled.size())
        for (Letter& l : letters)
            l.upper = false;
}

// The first letter of each word, and of each capitalised part within a word: "Windows
// PowerShell" gives "wps", "VSCode" gives "vc" (an all-capital run is one part).
std::string Initials(std::string_view phrase, std::string_view spelled, std::vector<Letter>& letters) {
    // The "run" of a program's phrase is no word of its name.
    const std::string runPrefix = BuiltInCommandLine(BuiltInAction::Run, "");
    if (phrase.starts_with(runPrefix) && spelled.size() >= runPrefix.size()) {
        phrase.remove_prefix(runPrefix.size());
        spelled.remove_prefix(runPrefix.size());
    }
    ReadLetters(phrase, spelled, letters);
    std::string initials;
    for (std::size_t k = 0; k < letters.size(); ++k) {
        const Letter& l = letters[k];
        if (!l.word)
            continue;
        const Letter* before = k > 0 ? &letters[k - 1] : nullptr;
        const Letter* after = k + 1 < letters.size() ? &letters[k + 1] : nullptr;
        const bool starts = !before || !before->word || (l.upper && !before->upper) ||
                            (l.upper && before->upper && after && after->letter && !after->upper);
        if (starts)
            initials += l.initial;
    }
    return initials;
}

} // namespace

std::uint64_t LetterSet(std::string_view text) {
    constexpr std::uint32_t kSpread = 0x9E3779B1u;
    constexpr int kWordBits = 32;
    std::uint64_t set = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            set |= std::uint64_t{1} << kLetterBit[b];
            ++i;
            continue;
        }
        // By character, not by byte: the bytes of Cyrillic, Greek or CJK text share a few lead
        // bytes and nearly every continuation byte, so a set of them would hold any other.
        const std::uint64_t spread = static_cast<std::uint32_t>(DecodeUtf8(text, i)) * kSpread;
        set |= std::uint64_t{1} << (kLetterBits + kDigitBits + kOtherAsciiBits +
                                    ((spread * kNonAsciiBits) >> kWordBits));
    }
    return set;
}

PairSet PairsOf(std::string_view text) {
    constexpr unsigned kMix = 0x9E37;
    constexpr unsigned kPairBits = 8;
    constexpr unsigned kWordBits = 64;
    PairSet set;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const unsigned pair =
            static_cast<unsigned char>(text[i - 1]) << 8 | static_cast<unsigned char>(text[i]);
        const unsigned bit = (pair * kMix >> kPairBits) & 0xFF;
        set.bits[bit / kWordBits] |= std::uint64_t{1} << (bit % kWordBits);
    }
    return set;
}

std::string_view MatchForms::Folded(std::size_t phrase) const {
    const PhraseForms& f = phrases[phrase];
    return std::string_view(bytes).substr(f.start, f.initialsAt);
}

std::string_view MatchForms::Initials(std::size_t phrase) const {
    const PhraseForms& f = phrases[phrase];
    return std::string_view(bytes).substr(f.start + f.initialsAt, f.readingsAt - f.initialsAt);
}

std::string_view MatchForms::Readings(std::size_t phrase) const {
    const PhraseForms& f = phrases[phrase];
    return std::string_view(bytes).substr(f.start + f.readingsAt,
                                          phrases[phrase + 1].start - f.start - f.readingsAt);
}

MatchForms BuildMatchForms(const std::vector<std::string>& phrases, const SpellingOf& spelling) {
    constexpr std::size_t kMostFormBytes = std::numeric_limits<std::uint16_t>::max();
    MatchForms forms;
    forms.phrases.reserve(phrases.size() + 1);
    forms.pairs.reserve(phrases.size());
    std::vector<Letter> letters;
    for (std::size_t i = 0; i < phrases.size(); ++i) {
        const std::string& phrase = phrases[i];
        std::string folded = Fold(phrase);
        if (folded == phrase)
            folded.clear();
        const std::string_view text = folded.empty() ? std::string_view(phrase) : std::string_view(folded);
        std::string initials = Initials(phrase, spelling ? spelling(i) : phrase, letters);
        std::string readings = ReadingUnits(text);
        forms.pairs.push_back(PairsOf(text));
        PhraseForms f;
        f.start = static_cast<std::uint32_t>(forms.bytes.size());
        f.letters = LetterSet(text) | LetterSet(readings);
        // A phrase far longer than any name is matched by its own text alone, and so is every
        // phrase once the forms would outgrow their offsets.
        const std::size_t total = folded.size() + initials.size() + readings.size();
        const bool fits = folded.size() + initials.size() <= kMostFormBytes &&
                          forms.bytes.size() + total <= std::numeric_limits<std::uint32_t>::max();
        if (fits) {
            forms.bytes += folded;
            f.initialsAt = static_cast<std::uint16_t>(folded.size());
            forms.bytes += initials;
            f.readingsAt = static_cast<std::uint16_t>(folded.size() + initials.size());
            forms.bytes += readings;
        } else {
            f.letters = LetterSet(phrase);
        }
        forms.phrases.push_back(f);
    }
    forms.phrases.push_back({0, static_cast<std::uint32_t>(forms.bytes.size()), 0, 0});
    forms.bytes.shrink_to_fit();
    return forms;
}

} // namespace tov

#include "platform/code_pages.h"

#include "base/text.h"

namespace tov {

std::string AnsiToUtf8(std::string_view ansi) {
    if (auto text = DecodeCodePage(ansi, AnsiCodePage()))
        return std::move(*text);
    std::string out;
    for (char c : ansi)
        AppendUtf8(out, static_cast<unsigned char>(c) < 0x80 ? static_cast<unsigned char>(c)
                                                             : kReplacementCharacter);
    return out;
}

std::string Utf8ToAnsi(std::string_view utf8, bool* lossless) {
    const unsigned codePage = AnsiCodePage();
    if (auto whole = EncodeCodePage(utf8, codePage)) {
        if (lossless)
            *lossless = true;
        return std::move(*whole);
    }
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        DecodeUtf8(utf8, i);
        const auto one = EncodeCodePage(utf8.substr(start, i - start), codePage);
        out += one ? *one : std::string("?");
    }
    if (lossless)
        *lossless = false;
    return out;
}

} // namespace tov

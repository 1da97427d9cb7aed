#include "catalogue/fold.h"

#include "base/text.h"
#include "catalogue/match_tables.h"

namespace tov {

std::string Fold(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            out += utf8[i++];
            continue;
        }
        const std::size_t start = i;
        const char32_t c = DecodeUtf8(utf8, i);
        if (const auto folded = FoldOf(c))
            out += *folded;
        else
            out.append(utf8.substr(start, i - start)); // malformed bytes stay as they were
    }
    return out;
}

} // namespace tov

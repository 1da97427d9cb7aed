// List files: whatever a file holds, its lines written back read again as the same lines;
// a file that decoded exactly and ends every line with CR LF comes back byte for byte in the
// encoding it came in; and the custom-command records are the complete pairs among the lines.
#include "catalogue/custom_commands.h"
#include "catalogue/list_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Code units of the file after its mark: bytes, or 16-bit units in the file's byte order.
std::vector<char32_t> Units(std::string_view bytes, tov::ListEncoding encoding) {
    std::vector<char32_t> units;
    const bool wide = encoding == tov::ListEncoding::Utf16Le || encoding == tov::ListEncoding::Utf16Be;
    const std::size_t mark = wide ? 2 : encoding == tov::ListEncoding::Utf8WithMark ? 3 : 0;
    for (std::size_t i = mark; i < bytes.size(); i += wide ? 2 : 1) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        units.push_back(!wide ? a : encoding == tov::ListEncoding::Utf16Le ? (b << 8) | a : (a << 8) | b);
    }
    return units;
}

// Every line ended by CR LF, and no CR or LF apart from those.
bool EveryLineEndsWithCrLf(const std::vector<char32_t>& units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (units[i] == '\r' && (i + 1 == units.size() || units[i + 1] != '\n'))
            return false;
        if (units[i] == '\n' && (i == 0 || units[i - 1] != '\r'))
            return false;
    }
    return units.empty() || units.back() == '\n';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tov::ListText text = tov::DecodeListFile(bytes, tov::kWesternCodePage);
    if (text.lines.size() > tov::kMaxListLines)
        std::abort();
    for (const auto& line : text.lines)
        if (line.find_first_of("\r\n") != std::string::npos || line.size() > tov::kMaxListLineBytes)
            std::abort();

    const std::string again = tov::EncodeListFile(text.lines, text.encoding, tov::kWesternCodePage);
    if (tov::DecodeListFile(again, tov::kWesternCodePage).lines != text.lines)
        std::abort();
    if (text.exact && EveryLineEndsWithCrLf(Units(bytes, text.encoding)) && again != bytes)
        std::abort();

    if (tov::CustomCommandsFromLines(text.lines).size() != text.lines.size() / 2)
        std::abort();
    return 0;
}

#include "catalogue/list_file.h"

#include "platform/files.h"

#include <algorithm>

namespace tov {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::uint64_t kListFileLimit = 64u << 20;

constexpr const char* kHiddenFailure = "it is hidden, a system file or no file at all";
constexpr const char* kBusyFailure = "another program kept writing it";
constexpr int kSaveAttempts = 3;
constexpr const char* kInexactFailure =
    "it holds text that Tovlen cannot write back unchanged, so it was left as it is";

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// UTF-16 of either byte order to UTF-8; false in `exact` for an odd last byte or a lone surrogate.
std::string FromUtf16(std::string_view bytes, bool bigEndian, bool& exact) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    if (bytes.size() % 2 != 0)
        exact = false;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const bool high = units[i] >= 0xD800 && units[i] <= 0xDBFF;
        const bool low = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
            ++i;
        else if (high || low)
            exact = false;
    }
    return Utf16ToUtf8(units);
}

std::string ToUtf16(std::string_view utf8, bool bigEndian) {
    std::string out;
    for (char16_t unit : Utf8ToUtf16(utf8)) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

// The whole text in UTF-8, with the encoding it was found in.
std::string DecodeWhole(std::string_view bytes, unsigned codePage, ListText& text) {
    if (bytes.starts_with(kUtf8Mark)) {
        text.encoding = ListEncoding::Utf8WithMark;
        bytes.remove_prefix(kUtf8Mark.size());
        if (IsValidUtf8(bytes))
            return std::string(bytes);
        text.exact = false;
        return Utf16ToUtf8(Utf8ToUtf16(bytes));
    }
    if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) {
        const bool bigEndian = bytes.starts_with(kUtf16BeMark);
        text.encoding = bigEndian ? ListEncoding::Utf16Be : ListEncoding::Utf16Le;
        return FromUtf16(bytes.substr(kUtf16LeMark.size()), bigEndian, text.exact);
    }
    if (IsAscii(bytes)) {
        text.encoding = ListEncoding::Ansi;
        return std::string(bytes);
    }
    if (IsValidUtf8(bytes)) {
        text.encoding = ListEncoding::Utf8;
        return std::string(bytes);
    }
    text.encoding = ListEncoding::Ansi;
    if (auto decoded = DecodeCodePage(bytes, codePage))
        return std::move(*decoded);
    text.exact = false;
    return AnsiToUtf8(bytes);
}

// Splits at CR LF, CR or LF, keeping at most kMaxListLines lines of at most `maxLineBytes`.
void SplitLines(std::string_view whole, std::size_t maxLineBytes, ListText& text) {
    std::size_t at = 0;
    while (at < whole.size()) {
        const std::size_t end = std::min(whole.find_first_of(kLineEnd, at), whole.size());
        if (text.lines.size() >= kMaxListLines) {
            ++text.leftOut;
        } else if (end - at > maxLineBytes) {
            text.lines.emplace_back(); // kept as a line so that the records after it stay paired
            ++text.leftOut;
        } else {
            text.lines.emplace_back(whole.substr(at, end - at));
        }
        at = end;
        if (whole.substr(at).starts_with(kLineEnd))
            at += kLineEnd.size();
        else if (at < whole.size())
            ++at;
    }
    if (text.leftOut > 0)
        text.exact = false;
}

std::string Joined(const std::vector<std::string>& lines, std::string_view mark) {
    std::size_t size = mark.size();
    for (const auto& line : lines)
        size += line.size() + kLineEnd.size();
    std::string out;
    out.reserve(size);
    out += mark;
    for (const auto& line : lines) {
        out += line;
        out += kLineEnd;
    }
    return out;
}

std::optional<std::string> InCodePage(const std::vector<std::string>& lines, unsigned codePage) {
    std::string out;
    for (const auto& line : lines) {
        auto encoded = EncodeCodePage(line, codePage);
        if (!encoded)
            return std::nullopt;
        out += *encoded;
        out += kLineEnd;
    }
    return out;
}

std::string FileName(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

ListText DecodeListFile(std::string_view bytes, unsigned codePage, std::size_t maxLineBytes) {
    ListText text;
    const std::string whole = DecodeWhole(bytes, codePage, text);
    if (whole.find('\0') != std::string::npos)
        text.exact = false;
    SplitLines(whole, maxLineBytes, text);
    return text;
}

std::string EncodeListFile(const std::vector<std::string>& lines, ListEncoding encoding, unsigned codePage) {
    std::optional<std::string> plain;
    switch (encoding) {
    case ListEncoding::Utf16Le:
    case ListEncoding::Utf16Be: {
        const bool bigEndian = encoding == ListEncoding::Utf16Be;
        return std::string(bigEndian ? kUtf16BeMark : kUtf16LeMark) + ToUtf16(Joined(lines, {}), bigEndian);
    }
    case ListEncoding::Utf8WithMark:
        return Joined(lines, kUtf8Mark);
    case ListEncoding::Utf8:
        plain = Joined(lines, {});
        break;
    case ListEncoding::Ansi:
        plain = InCodePage(lines, codePage);
        break;
    }
    // Without a mark the bytes must speak for themselves: code-page text that happens to be
    // valid UTF-8, or to begin like a mark, would read back as something else.
    if (plain) {
        const ListText back = DecodeListFile(*plain, codePage);
        if (back.exact && back.lines == lines)
            return std::move(*plain);
    }
    return Joined(lines, kUtf8Mark);
}

std::optional<ListText> ReadListFile(const std::string& path, unsigned codePage) {
    const auto bytes = IsPlainFile(path) ? ReadFileBytes(path, kListFileLimit) : std::nullopt;
    if (!bytes)
        return std::nullopt;
    return DecodeListFile(*bytes, codePage);
}

std::optional<std::vector<std::string>> LoadListLines(const std::string& path,
                                                      const std::function<void(std::string_view)>& log) {
    auto text = ReadListFile(path);
    if (!text)
        return std::nullopt;
    if (text->leftOut > 0 && log)
        log(FileName(path) + ": " + std::to_string(text->leftOut) + " lines left out (past line " +
            std::to_string(kMaxListLines) + ", or longer than " + std::to_string(kMaxListLineBytes) +
            " bytes)");
    return std::move(text->lines);
}

ListSave ChangeListFile(const std::string& path, const std::function<void(std::vector<std::string>&)>& change,
                        unsigned codePage) {
    ListSave result;
    // A file that another writer creates between the look and the save is read and changed in
    // its turn, never written over.
    for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
        result.failure.clear();
        const PathState state = ProbePath(path, &result.failure);
        if (state == PathState::Unknown)
            return result;
        std::vector<std::string> lines;
        ListEncoding encoding = ListEncoding::Ansi;
        if (state == PathState::Present) {
            if (!IsPlainFile(path)) {
                result.failure = kHiddenFailure;
                return result;
            }
            const auto bytes = ReadFileBytes(path, kListFileLimit, &result.failure);
            if (!bytes)
                return result;
            ListText text = DecodeListFile(*bytes, codePage);
            if (!text.exact) {
                result.failure = kInexactFailure;
                return result;
            }
            lines = std::move(text.lines);
            encoding = text.encoding;
        }
        change(lines);
        const std::string bytes = EncodeListFile(lines, encoding, codePage);
        if (state == PathState::Present) {
            result.saved = ReplaceFileContents(path, bytes, &result.failure);
            return result;
        }
        result.saved = CreateFileContents(path, bytes, &result.failure);
        if (result.saved || ProbePath(path) != PathState::Present)
            return result;
    }
    result.failure = kBusyFailure;
    return result;
}

void AppendRecord(std::vector<std::string>& lines, std::string first, std::string second) {
    if (lines.size() % 2 != 0)
        lines.emplace_back();
    lines.push_back(std::move(first));
    lines.push_back(std::move(second));
}

void RemoveRecords(std::vector<std::string>& lines,
                   const std::function<bool(const std::string& first, const std::string& second)>& drop) {
    std::size_t kept = 0;
    std::size_t i = 0;
    const auto keep = [&](std::size_t at) {
        if (kept != at)
            lines[kept] = std::move(lines[at]);
        ++kept;
    };
    for (; i + 1 < lines.size(); i += 2) {
        if (drop(lines[i], lines[i + 1]))
            continue;
        keep(i);
        keep(i + 1);
    }
    if (i < lines.size())
        keep(i);
    lines.resize(kept);
}

} // namespace tov

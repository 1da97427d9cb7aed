#include "catalogue/list_file.h"

#include "platform/files.h"
#include "platform/text.h"

namespace tov {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::uint64_t kListFileLimit = 64u << 20;

std::string JoinLines(const std::vector<std::string>& lines, bool utf8) {
    std::string out;
    for (const auto& line : lines) {
        out += utf8 ? line : Utf8ToAnsi(line);
        out += "\r\n";
    }
    return out;
}

bool FitsCodePage(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        bool lossless = true;
        Utf8ToAnsi(line, &lossless);
        if (!lossless)
            return false;
    }
    return true;
}

bool IsUtf8(std::string_view bytes) {
    return bytes.starts_with(kUtf8Bom);
}

} // namespace

std::vector<std::string> SplitListLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string current;
    bool pending = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending)
        lines.push_back(std::move(current));
    return lines;
}

std::vector<std::string> DecodeListFile(std::string_view bytes) {
    if (IsUtf8(bytes))
        return SplitListLines(std::string(bytes.substr(kUtf8Bom.size())));
    return SplitListLines(AnsiToUtf8(bytes));
}

std::string EncodeListFile(const std::vector<std::string>& lines) {
    if (FitsCodePage(lines)) {
        std::string ansi = JoinLines(lines, false);
        // ANSI text that happens to begin with the mark's three bytes would read back as UTF-8.
        if (!IsUtf8(ansi))
            return ansi;
    }
    return std::string(kUtf8Bom) + JoinLines(lines, true);
}

std::optional<std::vector<std::string>> ReadListFile(const std::string& path) {
    const auto bytes = IsPlainFile(path) ? ReadFileBytes(path, kListFileLimit) : std::nullopt;
    if (!bytes)
        return std::nullopt;
    return DecodeListFile(*bytes);
}

bool WriteListFile(const std::string& path, const std::vector<std::string>& lines) {
    return ReplaceFileContents(path, EncodeListFile(lines));
}

bool AppendListFile(const std::string& path, const std::vector<std::string>& lines) {
    auto existing = ReadFileBytes(path, kListFileLimit);
    if (!existing) {
        // Something there that cannot be read must not be replaced by the new lines alone.
        if (PathExists(path))
            return false;
        existing.emplace();
    }
    std::string& bytes = *existing;
    if (bytes.empty())
        return WriteListFile(path, lines);
    const bool utf8 = IsUtf8(bytes);
    if (!utf8 && !FitsCodePage(lines)) {
        std::vector<std::string> all = DecodeListFile(bytes);
        all.insert(all.end(), lines.begin(), lines.end());
        return WriteListFile(path, all);
    }
    // A last line without its ending would otherwise run into the first new line.
    const bool bareMark = utf8 && bytes.size() == kUtf8Bom.size();
    if (!bareMark && bytes.back() != '\n' && bytes.back() != '\r')
        bytes += "\r\n";
    return ReplaceFileContents(path, bytes + JoinLines(lines, utf8));
}

} // namespace tov

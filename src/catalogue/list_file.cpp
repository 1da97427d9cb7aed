#include "catalogue/list_file.h"

#include "platform/files.h"
#include "platform/text.h"

namespace tov {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::uint64_t kListFileLimit = 64u << 20;

std::string Encode(const std::vector<std::string>& lines, bool utf8) {
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

std::optional<std::vector<std::string>> ReadListFile(const std::string& path) {
    if (!IsPlainFile(path))
        return std::nullopt;
    const auto bytes = ReadFileBytes(path, kListFileLimit);
    if (!bytes)
        return std::nullopt;
    if (std::string_view(*bytes).starts_with(kUtf8Bom))
        return SplitListLines(bytes->substr(kUtf8Bom.size()));
    return SplitListLines(AnsiToUtf8(*bytes));
}

bool WriteListFile(const std::string& path, const std::vector<std::string>& lines) {
    if (FitsCodePage(lines))
        return ReplaceFileContents(path, Encode(lines, false));
    return ReplaceFileContents(path, std::string(kUtf8Bom) + Encode(lines, true));
}

bool AppendListFile(const std::string& path, const std::vector<std::string>& lines) {
    const auto existing = IsPlainFile(path) ? ReadFileBytes(path, kListFileLimit) : std::optional<std::string>{};
    const bool isUtf8 = existing && std::string_view(*existing).starts_with(kUtf8Bom);
    if (isUtf8)
        return AppendToFile(path, Encode(lines, true));
    if (FitsCodePage(lines))
        return AppendToFile(path, Encode(lines, false));
    std::vector<std::string> all = existing ? SplitListLines(AnsiToUtf8(*existing)) : std::vector<std::string>{};
    all.insert(all.end(), lines.begin(), lines.end());
    return WriteListFile(path, all);
}

} // namespace tov

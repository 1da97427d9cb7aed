#include "catalogue/shortcut.h"

#include "base/text.h"
#include "platform/code_pages.h"
#include "platform/files.h"

#include <optional>

namespace tov {

namespace {

constexpr std::uint32_t kShellLinkHeaderSize = 0x4C;
constexpr std::size_t kLinkFlagsOffset = 20;
constexpr std::size_t kFileAttributesOffset = 24;

constexpr std::uint32_t HasLinkTargetIDList = 0x01;
constexpr std::uint32_t HasLinkInfo = 0x02;
constexpr std::uint32_t HasName = 0x04;
constexpr std::uint32_t HasRelativePath = 0x08;
constexpr std::uint32_t HasWorkingDir = 0x10;
constexpr std::uint32_t HasArguments = 0x20;
constexpr std::uint32_t HasIconLocation = 0x40;
constexpr std::uint32_t IsUnicode = 0x80;
constexpr std::uint32_t HasExpIcon = 0x4000;

// Extra-data blocks follow the strings: size, signature, data; a size below 4 ends the list.
constexpr std::uint32_t kExtraDataTerminalSize = 4;
constexpr std::uint32_t kIconEnvironmentSignature = 0xA0000007;
constexpr std::uint32_t kIconEnvironmentBlockSize = 0x314;
constexpr std::size_t kIconEnvironmentAnsiOffset = 8;
constexpr std::size_t kIconEnvironmentUnicodeOffset = 268;
constexpr std::size_t kIconEnvironmentAnsiLength = 260;
constexpr std::size_t kIconEnvironmentUnicodeLength = 520;

// Link information block: offsets from its start.
constexpr std::size_t kLinkInfoHeaderSizeOffset = 4;
constexpr std::size_t kLocalBasePathOffset = 16;
constexpr std::size_t kCommonNetworkRelativeLinkOffset = 20;
constexpr std::size_t kCommonPathSuffixOffset = 24;
constexpr std::size_t kLocalBasePathOffsetUnicode = 28;
constexpr std::size_t kCommonPathSuffixOffsetUnicode = 32;
constexpr std::uint32_t kLinkInfoMinimumSize = 0x1C;
constexpr std::uint32_t kLinkInfoUnicodeHeaderSize = 0x24;

// Common network relative link: offsets from its start.
constexpr std::size_t kNetNameOffset = 8;
constexpr std::size_t kNetNameOffsetUnicode = 20;
constexpr std::uint32_t kNetworkLinkFixedSize = 0x14;

// Anything larger is no shortcut; reading it whole would only slow the Start-menu walk.
constexpr std::uint64_t kShortcutFileLimit = 1u << 20;

std::optional<std::uint16_t> ReadU16(std::string_view data, std::size_t at) {
    if (at > data.size() || data.size() - at < 2)
        return std::nullopt;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(data[at]) |
                                      (static_cast<unsigned char>(data[at + 1]) << 8));
}

std::optional<std::uint32_t> ReadU32(std::string_view data, std::size_t at) {
    const auto low = ReadU16(data, at);
    const auto high = ReadU16(data, at + 2);
    if (!low || !high)
        return std::nullopt;
    return static_cast<std::uint32_t>(*low) | (static_cast<std::uint32_t>(*high) << 16);
}

// Decodes UTF-16LE code units up to the first NUL.
std::string Utf16UpToNul(std::string_view data) {
    std::u16string units;
    units.reserve(data.size() / 2);
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(data[i]) |
                                                (static_cast<unsigned char>(data[i + 1]) << 8));
        if (unit == 0)
            break;
        units += unit;
    }
    return Utf16ToUtf8(units);
}

std::string AnsiUpToNul(std::string_view data) {
    return AnsiToUtf8(data.substr(0, data.find('\0')));
}

// A zero-ended string at `at` inside `block`; nothing when no terminator comes before the block ends.
std::optional<std::string> AnsiString(std::string_view block, std::size_t at) {
    if (at >= block.size())
        return std::nullopt;
    const auto end = block.find('\0', at);
    if (end == std::string_view::npos)
        return std::nullopt;
    return AnsiToUtf8(block.substr(at, end - at));
}

std::optional<std::string> UnicodeString(std::string_view block, std::size_t at) {
    for (std::size_t i = at; i < block.size() && block.size() - i >= 2; i += 2)
        if (block[i] == 0 && block[i + 1] == 0)
            return Utf16UpToNul(block.substr(at, i - at));
    return std::nullopt;
}

// A string given by two offsets into `block`: the UTF-16 one wins when it is set.
std::optional<std::string> EitherString(std::string_view block, std::uint32_t ansiOffset,
                                        std::uint32_t unicodeOffset) {
    if (unicodeOffset != 0)
        return UnicodeString(block, unicodeOffset);
    if (ansiOffset != 0)
        return AnsiString(block, ansiOffset);
    return std::string();
}

std::optional<std::string> NetworkName(std::string_view linkInfo, std::uint32_t offset) {
    if (offset >= linkInfo.size())
        return std::nullopt;
    const std::string_view link = linkInfo.substr(offset);
    const auto size = ReadU32(link, 0);
    const auto nameOffset = ReadU32(link, kNetNameOffset);
    if (!size || !nameOffset || *size < kNetworkLinkFixedSize || *size > link.size())
        return std::nullopt;
    const std::string_view block = link.substr(0, *size);
    if (*nameOffset > kNetworkLinkFixedSize) {
        const auto unicodeOffset = ReadU32(block, kNetNameOffsetUnicode);
        if (!unicodeOffset)
            return std::nullopt;
        if (*unicodeOffset != 0)
            return UnicodeString(block, *unicodeOffset);
    }
    return AnsiString(block, *nameOffset);
}

// The target path from the link information block.
std::optional<std::string> LinkInfoTarget(std::string_view linkInfo) {
    const auto headerSize = ReadU32(linkInfo, kLinkInfoHeaderSizeOffset);
    const auto localOffset = ReadU32(linkInfo, kLocalBasePathOffset);
    const auto networkOffset = ReadU32(linkInfo, kCommonNetworkRelativeLinkOffset);
    const auto suffixOffset = ReadU32(linkInfo, kCommonPathSuffixOffset);
    if (!headerSize || !localOffset || !networkOffset || !suffixOffset)
        return std::nullopt;
    std::uint32_t localOffsetUnicode = 0;
    std::uint32_t suffixOffsetUnicode = 0;
    if (*headerSize >= kLinkInfoUnicodeHeaderSize) {
        const auto a = ReadU32(linkInfo, kLocalBasePathOffsetUnicode);
        const auto b = ReadU32(linkInfo, kCommonPathSuffixOffsetUnicode);
        if (!a || !b)
            return std::nullopt;
        localOffsetUnicode = *a;
        suffixOffsetUnicode = *b;
    }

    std::optional<std::string> target;
    if (*localOffset != 0 || localOffsetUnicode != 0)
        target = EitherString(linkInfo, *localOffset, localOffsetUnicode);
    else if (*networkOffset != 0)
        target = NetworkName(linkInfo, *networkOffset);
    else
        target = std::string();
    const auto suffix = EitherString(linkInfo, *suffixOffset, suffixOffsetUnicode);
    if (!target || !suffix)
        return std::nullopt;
    // A suffix with nothing to hang it on names no file.
    if (!suffix->empty() && !target->empty()) {
        if (target->back() != '\\')
            *target += '\\';
        *target += *suffix;
    }
    return target;
}

// The icon path as written with environment variables, which the shell shows in place of
// the expanded one in the string section. Empty when the block is missing or malformed.
std::string ExpandableIconLocation(std::string_view bytes, std::size_t position) {
    for (;;) {
        const auto size = ReadU32(bytes, position);
        const auto signature = ReadU32(bytes, position + 4);
        if (!size || !signature || *size < kExtraDataTerminalSize || *size > bytes.size() - position)
            return {};
        if (*signature == kIconEnvironmentSignature) {
            if (*size != kIconEnvironmentBlockSize)
                return {};
            const std::string_view block = bytes.substr(position, *size);
            std::string icon =
                Utf16UpToNul(block.substr(kIconEnvironmentUnicodeOffset, kIconEnvironmentUnicodeLength));
            if (icon.empty())
                icon = AnsiUpToNul(block.substr(kIconEnvironmentAnsiOffset, kIconEnvironmentAnsiLength));
            return icon;
        }
        position += *size;
    }
}

bool ParseInto(std::string_view bytes, ShortcutInfo& info) {
    const auto headerSize = ReadU32(bytes, 0);
    if (!headerSize || *headerSize != kShellLinkHeaderSize)
        return false;
    const auto flags = ReadU32(bytes, kLinkFlagsOffset);
    const auto attributes = ReadU32(bytes, kFileAttributesOffset);
    if (!flags || !attributes || bytes.size() < kShellLinkHeaderSize)
        return false;
    info.Attributes = *attributes;
    std::size_t position = kShellLinkHeaderSize;

    if (*flags & HasLinkTargetIDList) {
        const auto idListSize = ReadU16(bytes, position);
        if (!idListSize)
            return false;
        position += 2 + std::size_t{*idListSize};
        if (position > bytes.size())
            return false;
    }

    if (*flags & HasLinkInfo) {
        const auto linkInfoSize = ReadU32(bytes, position);
        if (!linkInfoSize || *linkInfoSize < kLinkInfoMinimumSize || *linkInfoSize > bytes.size() - position)
            return false;
        const auto target = LinkInfoTarget(bytes.substr(position, *linkInfoSize));
        if (!target)
            return false;
        info.Target = *target;
        position += *linkInfoSize;
    }

    const bool unicode = (*flags & IsUnicode) != 0;
    const std::size_t unitSize = unicode ? 2 : 1;
    const std::pair<std::uint32_t, std::string ShortcutInfo::*> strings[] = {
        {HasName, &ShortcutInfo::Description},          {HasRelativePath, &ShortcutInfo::RelativePath},
        {HasWorkingDir, &ShortcutInfo::WorkingFolder},  {HasArguments, &ShortcutInfo::Arguments},
        {HasIconLocation, &ShortcutInfo::IconLocation},
    };
    for (const auto& [flag, field] : strings) {
        if (!(*flags & flag))
            continue;
        const auto count = ReadU16(bytes, position);
        if (!count)
            return false;
        position += 2;
        const std::size_t length = std::size_t{*count} * unitSize;
        if (length > bytes.size() - position)
            return false;
        const std::string_view text = bytes.substr(position, length);
        // Some writers count a terminating NUL in the length; the string ends there.
        info.*field = unicode ? Utf16UpToNul(text) : AnsiUpToNul(text);
        position += length;
    }

    if (*flags & HasExpIcon) {
        std::string icon = ExpandableIconLocation(bytes, position);
        if (!icon.empty())
            info.IconLocation = std::move(icon);
    }
    return true;
}

} // namespace

bool ParseShortcut(std::string_view bytes, ShortcutInfo& info) {
    info = ShortcutInfo{};
    if (ParseInto(bytes, info))
        return true;
    info = ShortcutInfo{};
    return false;
}

bool ReadShortcut(const std::string& path, ShortcutInfo& info) {
    info = ShortcutInfo{};
    const std::string file = EndsWith(path, ".lnk") ? path : path + ".lnk";
    const auto bytes = ReadFileBytes(file, kShortcutFileLimit);
    if (!bytes)
        return false;
    return ParseShortcut(*bytes, info) && !info.Target.empty();
}

} // namespace tov

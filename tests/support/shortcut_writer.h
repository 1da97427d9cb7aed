#pragma once
// Writes shell-link files for tests and benchmarks: enough of the format to exercise the
// reader (header, optional ID list, link information with local or network path, strings).
#include "base/text.h"
#include "platform/code_pages.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace tov::testing {

struct LinkSpec {
    std::string localBasePath; // ANSI bytes; a link-information block is written when this or netName is set
    std::string netName;
    std::string commonPathSuffix;
    bool unicodeLinkInfo = false; // also store the local path and suffix as UTF-16 (the longer block header)
    std::optional<std::string>
        unicodeLocalBasePath;          // UTF-8; the UTF-16 copy when it differs from the ANSI one
    std::optional<std::string> idList; // raw bytes of the ID list, written with its size
    std::optional<std::string> description, relativePath, workingFolder, arguments, iconLocation; // UTF-8
    std::uint32_t attributes = 0x20;
    bool unicode = true;              // strings in UTF-16 (IsUnicode)
    bool countTerminatingNul = false; // a writer that counts and writes a NUL after each string
    std::uint32_t extraFlags = 0;     // further link flags, for the extra data below
    std::string extraData;            // extra-data blocks, written before the terminal block
};

class Bytes {
  public:
    void U16(std::uint32_t v) {
        out_ += static_cast<char>(v & 0xFF);
        out_ += static_cast<char>((v >> 8) & 0xFF);
    }
    void U32(std::uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Text(const std::string& s) { out_ += s; }
    void Utf16(const std::u16string& s) {
        for (char16_t c : s)
            U16(c);
    }
    void PutU32At(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out_[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    std::size_t Size() const { return out_.size(); }
    const std::string& Str() const { return out_; }

  private:
    std::string out_;
};

inline std::string LinkInfoBlock(const LinkSpec& spec) {
    const bool local = !spec.localBasePath.empty();
    const std::uint32_t headerSize = spec.unicodeLinkInfo ? 0x24 : 0x1C;
    Bytes b;
    b.U32(0); // size, filled in below
    b.U32(headerSize);
    b.U32(local ? 1 : 2);
    b.U32(0); // VolumeIDOffset
    b.U32(0); // LocalBasePathOffset
    b.U32(0); // CommonNetworkRelativeLinkOffset
    b.U32(0); // CommonPathSuffixOffset
    if (spec.unicodeLinkInfo) {
        b.U32(0);
        b.U32(0);
    }
    if (local) {
        b.PutU32At(12, static_cast<std::uint32_t>(b.Size()));
        b.U32(0x11); // VolumeIDSize
        b.U32(3);    // fixed drive
        b.U32(0x12345678);
        b.U32(0x10); // label offset
        b.Text(std::string(1, '\0'));
        b.PutU32At(16, static_cast<std::uint32_t>(b.Size()));
        b.Text(spec.localBasePath + '\0');
    } else {
        b.PutU32At(20, static_cast<std::uint32_t>(b.Size()));
        b.U32(0x14 + static_cast<std::uint32_t>(spec.netName.size()) + 1);
        b.U32(0);    // flags
        b.U32(0x14); // NetNameOffset
        b.U32(0);    // DeviceNameOffset
        b.U32(0);    // NetworkProviderType
        b.Text(spec.netName + '\0');
    }
    b.PutU32At(24, static_cast<std::uint32_t>(b.Size()));
    b.Text(spec.commonPathSuffix + '\0');
    if (spec.unicodeLinkInfo) {
        if (local) {
            b.PutU32At(28, static_cast<std::uint32_t>(b.Size()));
            b.Utf16(Utf8ToUtf16(spec.unicodeLocalBasePath.value_or(AnsiToUtf8(spec.localBasePath))) + u'\0');
        }
        b.PutU32At(32, static_cast<std::uint32_t>(b.Size()));
        b.Utf16(Utf8ToUtf16(AnsiToUtf8(spec.commonPathSuffix)) + u'\0');
    }
    b.PutU32At(0, static_cast<std::uint32_t>(b.Size()));
    return b.Str();
}

inline std::string ShortcutBytes(const LinkSpec& spec) {
    const bool hasLinkInfo = !spec.localBasePath.empty() || !spec.netName.empty();
    std::uint32_t flags = 0;
    if (spec.idList)
        flags |= 0x01;
    if (hasLinkInfo)
        flags |= 0x02;
    const std::optional<std::string>* strings[] = {&spec.description, &spec.relativePath, &spec.workingFolder,
                                                   &spec.arguments, &spec.iconLocation};
    for (int i = 0; i < 5; ++i)
        if (*strings[i])
            flags |= 0x04u << i;
    if (spec.unicode)
        flags |= 0x80;
    flags |= spec.extraFlags;

    Bytes b;
    b.U32(0x4C);
    b.Text(std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16)); // CLSID
    b.U32(flags);
    b.U32(spec.attributes);
    b.Text(std::string(0x4C - b.Size(), '\0')); // times, size, icon index, show command, hot key
    if (spec.idList) {
        b.U16(static_cast<std::uint32_t>(spec.idList->size()));
        b.Text(*spec.idList);
    }
    if (hasLinkInfo)
        b.Text(LinkInfoBlock(spec));
    for (const auto* s : strings) {
        if (!*s)
            continue;
        const std::size_t extra = spec.countTerminatingNul ? 1 : 0;
        if (spec.unicode) {
            const std::u16string wide = Utf8ToUtf16(**s);
            b.U16(static_cast<std::uint32_t>(wide.size() + extra));
            b.Utf16(wide + std::u16string(extra, u'\0'));
        } else {
            const std::string ansi = Utf8ToAnsi(**s);
            b.U16(static_cast<std::uint32_t>(ansi.size() + extra));
            b.Text(ansi + std::string(extra, '\0'));
        }
    }
    b.Text(spec.extraData);
    b.U32(0); // terminal extra-data block
    return b.Str();
}

// The extra-data block that holds the icon path as written with environment variables.
inline std::string IconEnvironmentBlock(const std::string& ansi, const std::u16string& unicode,
                                        std::uint32_t size = 0x314) {
    Bytes b;
    b.U32(size);
    b.U32(0xA0000007);
    std::string a = ansi;
    a.resize(260, '\0');
    b.Text(a);
    std::u16string w = unicode;
    w.resize(260, u'\0');
    b.Utf16(w);
    return b.Str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline void WriteShortcut(const std::filesystem::path& path, const LinkSpec& spec) {
    WriteFile(path, ShortcutBytes(spec));
}

// A shortcut to a local program, the usual Start-menu entry.
inline LinkSpec ProgramLink(const std::string& target, const std::string& arguments = {},
                            const std::string& workingFolder = {}) {
    LinkSpec spec;
    spec.idList = std::string(
        "\x14\x00\x1F\x50\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D\x00\x00", 22);
    spec.localBasePath = target;
    if (!arguments.empty())
        spec.arguments = arguments;
    if (!workingFolder.empty())
        spec.workingFolder = workingFolder;
    return spec;
}

} // namespace tov::testing

#include "update/pe_version.h"

#include <cstdint>
#include <string>

namespace tov {

namespace {

// Offsets and values of the PE format, as the Windows headers name them.
constexpr std::uint16_t kDosSignature = 0x5A4D; // "MZ"
constexpr std::size_t kDosNewHeaderOffset = 0x3C;
constexpr std::uint32_t kPeSignature = 0x00004550; // "PE\0\0"
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSectionCountOffset = 2;
constexpr std::size_t kOptionalHeaderSizeOffset = 16;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kPe32DirectoryCountOffset = 92;
constexpr std::size_t kPe32PlusDirectoryCountOffset = 108;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::size_t kDataDirectorySize = 8;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSectionVirtualSize = 8;
constexpr std::size_t kSectionVirtualAddress = 12;
constexpr std::size_t kSectionRawSize = 16;
constexpr std::size_t kSectionRawPointer = 20;

constexpr std::size_t kResourceDirectoryHeaderSize = 16;
constexpr std::size_t kNamedEntryCountOffset = 12;
constexpr std::size_t kIdEntryCountOffset = 14;
constexpr std::size_t kResourceEntrySize = 8;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint32_t kVersionResourceType = 16; // RT_VERSION
constexpr std::size_t kResourceDataEntrySize = 16;

constexpr std::size_t kVersionInfoKeyOffset = 6;
constexpr std::u16string_view kVersionInfoKey = u"VS_VERSION_INFO";
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr std::size_t kFixedInfoSize = 52;
constexpr std::size_t kFileVersionMsOffset = 8;
constexpr std::size_t kFileVersionLsOffset = 12;
constexpr std::size_t kVersionAlignment = 4;

// Little-endian reads that fail rather than run past the end.
class Bytes {
  public:
    explicit Bytes(std::string_view data) : data_(data) {}
    std::size_t Size() const { return data_.size(); }
    bool Has(std::size_t offset, std::size_t length) const {
        return offset <= data_.size() && length <= data_.size() - offset;
    }
    std::optional<std::uint16_t> U16(std::size_t offset) const {
        if (!Has(offset, 2))
            return std::nullopt;
        return static_cast<std::uint16_t>(Byte(offset) | (Byte(offset + 1) << 8));
    }
    std::optional<std::uint32_t> U32(std::size_t offset) const {
        if (!Has(offset, 4))
            return std::nullopt;
        return static_cast<std::uint32_t>(Byte(offset) | (Byte(offset + 1) << 8) | (Byte(offset + 2) << 16) |
                                          (static_cast<std::uint32_t>(Byte(offset + 3)) << 24));
    }

  private:
    std::uint32_t Byte(std::size_t offset) const { return static_cast<unsigned char>(data_[offset]); }
    std::string_view data_;
};

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawPointer = 0;
};

struct Image {
    Bytes bytes;
    std::size_t optionalHeader = 0;
    std::size_t optionalHeaderSize = 0;
    std::uint16_t sectionCount = 0;

    std::optional<Section> SectionAt(std::uint16_t index) const {
        const std::size_t at = optionalHeader + optionalHeaderSize + std::size_t{index} * kSectionHeaderSize;
        const auto virtualSize = bytes.U32(at + kSectionVirtualSize);
        const auto virtualAddress = bytes.U32(at + kSectionVirtualAddress);
        const auto rawSize = bytes.U32(at + kSectionRawSize);
        const auto rawPointer = bytes.U32(at + kSectionRawPointer);
        if (!virtualSize || !virtualAddress || !rawSize || !rawPointer)
            return std::nullopt;
        return Section{*virtualAddress, *virtualSize, *rawSize, *rawPointer};
    }

    // The file offset of `length` bytes at a relative virtual address, when the file holds them.
    std::optional<std::size_t> FileOffset(std::uint32_t rva, std::size_t length) const {
        for (std::uint16_t i = 0; i < sectionCount; ++i) {
            const auto section = SectionAt(i);
            if (!section)
                return std::nullopt;
            if (rva < section->virtualAddress)
                continue;
            const std::uint64_t into = rva - section->virtualAddress;
            if (into + length > section->rawSize)
                continue;
            const std::uint64_t offset = std::uint64_t{section->rawPointer} + into;
            if (offset > bytes.Size() || !bytes.Has(static_cast<std::size_t>(offset), length))
                return std::nullopt;
            return static_cast<std::size_t>(offset);
        }
        return std::nullopt;
    }

    // Where the resource section starts in the file, and how long it is.
    std::optional<std::pair<std::size_t, std::size_t>> Resources() const {
        const auto magic = bytes.U16(optionalHeader);
        std::size_t countOffset = 0;
        if (magic == kPe32Magic)
            countOffset = kPe32DirectoryCountOffset;
        else if (magic == kPe32PlusMagic)
            countOffset = kPe32PlusDirectoryCountOffset;
        else
            return std::nullopt;
        const auto count = bytes.U32(optionalHeader + countOffset);
        if (!count || *count <= kResourceDirectoryIndex)
            return std::nullopt;
        const std::size_t entry =
            optionalHeader + countOffset + 4 + std::size_t{kResourceDirectoryIndex} * kDataDirectorySize;
        if (entry + kDataDirectorySize > optionalHeader + optionalHeaderSize)
            return std::nullopt;
        const auto rva = bytes.U32(entry);
        const auto size = bytes.U32(entry + 4);
        if (!rva || !size || *size == 0)
            return std::nullopt;
        const auto start = FileOffset(*rva, *size);
        if (!start)
            return std::nullopt;
        return std::make_pair(*start, std::size_t{*size});
    }
};

std::optional<Image> OpenImage(std::string_view data) {
    Image image{Bytes(data)};
    const Bytes& b = image.bytes;
    if (b.U16(0) != kDosSignature)
        return std::nullopt;
    const auto peOffset = b.U32(kDosNewHeaderOffset);
    if (!peOffset || b.U32(*peOffset) != kPeSignature)
        return std::nullopt;
    const std::size_t fileHeader = std::size_t{*peOffset} + 4;
    const auto sections = b.U16(fileHeader + kSectionCountOffset);
    const auto optionalSize = b.U16(fileHeader + kOptionalHeaderSizeOffset);
    if (!sections || !optionalSize)
        return std::nullopt;
    image.optionalHeader = fileHeader + kFileHeaderSize;
    image.optionalHeaderSize = *optionalSize;
    image.sectionCount = *sections;
    return image;
}

// One directory of the resource tree, its offsets relative to the start of the section.
class ResourceTree {
  public:
    ResourceTree(const Bytes& bytes, std::size_t start, std::size_t size)
        : bytes_(bytes), start_(start), size_(size) {}

    // The subdirectory or data entry under `directory` with the given id, or the first entry of
    // any kind when `id` is nothing; the high bit of the result tells a subdirectory.
    std::optional<std::uint32_t> Entry(std::uint32_t directory, std::optional<std::uint32_t> id) const {
        if (directory > size_ || size_ - directory < kResourceDirectoryHeaderSize)
            return std::nullopt;
        const auto named = bytes_.U16(start_ + directory + kNamedEntryCountOffset);
        const auto ids = bytes_.U16(start_ + directory + kIdEntryCountOffset);
        if (!named || !ids)
            return std::nullopt;
        const std::size_t entries = std::size_t{*named} + *ids;
        for (std::size_t i = 0; i < entries; ++i) {
            const std::size_t at = directory + kResourceDirectoryHeaderSize + i * kResourceEntrySize;
            if (at > size_ || size_ - at < kResourceEntrySize)
                return std::nullopt;
            const auto name = bytes_.U32(start_ + at);
            const auto target = bytes_.U32(start_ + at + 4);
            if (!name || !target)
                return std::nullopt;
            if (!id || ((*name & kHighBit) == 0 && *name == *id))
                return *target;
        }
        return std::nullopt;
    }

    std::optional<std::uint32_t> Subdirectory(std::uint32_t directory,
                                              std::optional<std::uint32_t> id) const {
        const auto target = Entry(directory, id);
        if (!target || (*target & kHighBit) == 0)
            return std::nullopt;
        return *target & ~kHighBit;
    }

    // The relative virtual address and size of the data that a leaf entry describes.
    std::optional<std::pair<std::uint32_t, std::uint32_t>> Data(std::uint32_t leaf) const {
        if ((leaf & kHighBit) != 0 || leaf > size_ || size_ - leaf < kResourceDataEntrySize)
            return std::nullopt;
        const auto rva = bytes_.U32(start_ + leaf);
        const auto length = bytes_.U32(start_ + leaf + 4);
        if (!rva || !length)
            return std::nullopt;
        return std::make_pair(*rva, *length);
    }

  private:
    const Bytes& bytes_;
    std::size_t start_;
    std::size_t size_;
};

std::size_t AlignUp(std::size_t offset) {
    return (offset + kVersionAlignment - 1) / kVersionAlignment * kVersionAlignment;
}

std::optional<VersionNumber> FixedFileVersion(const Bytes& b, std::size_t at, std::size_t length) {
    const std::size_t keyBytes = (kVersionInfoKey.size() + 1) * sizeof(char16_t);
    if (!b.Has(at, length) || length < kVersionInfoKeyOffset + keyBytes)
        return std::nullopt;
    for (std::size_t i = 0; i <= kVersionInfoKey.size(); ++i) {
        const char16_t wanted = i < kVersionInfoKey.size() ? kVersionInfoKey[i] : u'\0';
        if (b.U16(at + kVersionInfoKeyOffset + i * sizeof(char16_t)) != wanted)
            return std::nullopt;
    }
    const std::size_t fixed = AlignUp(kVersionInfoKeyOffset + keyBytes);
    if (fixed + kFixedInfoSize > length || b.U32(at + fixed) != kFixedInfoSignature)
        return std::nullopt;
    const auto ms = b.U32(at + fixed + kFileVersionMsOffset);
    const auto ls = b.U32(at + fixed + kFileVersionLsOffset);
    if (!ms || !ls)
        return std::nullopt;
    return VersionNumber{static_cast<std::uint16_t>(*ms >> 16), static_cast<std::uint16_t>(*ms & 0xFFFF),
                         static_cast<std::uint16_t>(*ls >> 16), static_cast<std::uint16_t>(*ls & 0xFFFF)};
}

} // namespace

std::optional<VersionNumber> PeFileVersion(std::string_view data) {
    const auto image = OpenImage(data);
    if (!image)
        return std::nullopt;
    const auto resources = image->Resources();
    if (!resources)
        return std::nullopt;
    // Type, then name, then language: the first of each below the version type.
    const ResourceTree tree(image->bytes, resources->first, resources->second);
    const auto type = tree.Subdirectory(0, kVersionResourceType);
    const auto name = type ? tree.Subdirectory(*type, std::nullopt) : std::nullopt;
    const auto language = name ? tree.Entry(*name, std::nullopt) : std::nullopt;
    const auto version = language ? tree.Data(*language) : std::nullopt;
    if (!version)
        return std::nullopt;
    const auto at = image->FileOffset(version->first, version->second);
    if (!at)
        return std::nullopt;
    return FixedFileVersion(image->bytes, *at, version->second);
}

} // namespace tov

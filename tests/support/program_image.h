#pragma once
// Windows program images made byte by byte, as small as a version resource allows.
#include "platform/platform.h"

#include <cstdint>
#include <string>

namespace tov::testing {

inline void PutU16(std::string& bytes, std::size_t at, std::uint32_t value) {
    if (bytes.size() < at + 2)
        bytes.resize(at + 2);
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

inline void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    PutU16(bytes, at, value & 0xFFFF);
    PutU16(bytes, at + 2, value >> 16);
}

// A program image with nothing but a resource section that holds one resource of `type`, laid
// out as the linker and NSIS lay out a version resource.
inline std::string ProgramImage(bool plus, VersionNumber version, std::uint32_t type = 16) {
    constexpr std::size_t kPe = 0x40;
    constexpr std::size_t kOptional = kPe + 24;
    constexpr std::size_t kRaw = 0x400;
    constexpr std::uint32_t kRva = 0x1000;
    const std::size_t optionalSize = plus ? 240 : 224;
    std::string image(kRaw, '\0');
    PutU16(image, 0, 0x5A4D);
    PutU32(image, 0x3C, kPe);
    PutU32(image, kPe, 0x4550);
    PutU16(image, kPe + 4, plus ? 0x8664 : 0x14C);
    PutU16(image, kPe + 6, 1);
    PutU16(image, kPe + 20, static_cast<std::uint32_t>(optionalSize));
    PutU16(image, kOptional, plus ? 0x20B : 0x10B);
    const std::size_t directories = kOptional + (plus ? 112 : 96);
    PutU32(image, directories - 4, 16);

    std::string resources(0x58, '\0');
    PutU16(resources, 0x0E, 1);
    PutU32(resources, 0x10, type);
    PutU32(resources, 0x14, 0x80000000u | 0x18);
    PutU16(resources, 0x18 + 0x0E, 1);
    PutU32(resources, 0x18 + 0x10, 1);
    PutU32(resources, 0x18 + 0x14, 0x80000000u | 0x30);
    PutU16(resources, 0x30 + 0x0E, 1);
    PutU32(resources, 0x30 + 0x10, 0x409);
    PutU32(resources, 0x30 + 0x14, 0x48);
    std::string info(40 + 52, '\0');
    PutU16(info, 0, static_cast<std::uint32_t>(info.size()));
    PutU16(info, 2, 52);
    const std::u16string key = u"VS_VERSION_INFO";
    for (std::size_t i = 0; i < key.size(); ++i)
        PutU16(info, 6 + 2 * i, key[i]);
    PutU32(info, 40, 0xFEEF04BD);
    PutU32(info, 44, 0x00010000);
    PutU32(info, 48, (std::uint32_t{version.major} << 16) | version.minor);
    PutU32(info, 52, (std::uint32_t{version.revision} << 16) | version.build);
    PutU32(resources, 0x48, kRva + 0x58);
    PutU32(resources, 0x4C, static_cast<std::uint32_t>(info.size()));
    resources += info;

    PutU32(image, directories + 2 * 8, kRva);
    PutU32(image, directories + 2 * 8 + 4, static_cast<std::uint32_t>(resources.size()));
    const std::size_t section = kOptional + optionalSize;
    image.replace(section, 5, ".rsrc");
    PutU32(image, section + 8, static_cast<std::uint32_t>(resources.size()));
    PutU32(image, section + 12, kRva);
    PutU32(image, section + 16, static_cast<std::uint32_t>(resources.size()));
    PutU32(image, section + 20, kRaw);
    return image + resources;
}

} // namespace tov::testing

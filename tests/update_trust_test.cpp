// What decides whether a downloaded installer runs: the pinned signers, the signer's key as read
// from its certificate, the version in the file's resource, and the table that combines them.
#include "base/certificate_key.h"
#include "update/pe_version.h"
#include "update/update_trust.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace tov {
namespace {

const std::string kA(64, 'a');
const std::string kB = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

TEST(UpdateSigners, ListIsReadLenientlyAndComparedExactly) {
    EXPECT_EQ(
        ParseSignerList(" " + kA + " ;\t0123456789ABCDEF0123456789abcdef0123456789abcdef0123456789ABCDEF;"),
        (SignerList{kA, kB}));
    // Not 64 hex digits: no signer, and never a prefix that matches everything.
    EXPECT_TRUE(ParseSignerList("").empty());
    EXPECT_TRUE(ParseSignerList(";;").empty());
    EXPECT_TRUE(ParseSignerList(kA.substr(1)).empty());
    EXPECT_TRUE(ParseSignerList(kA + "a").empty());
    EXPECT_TRUE(ParseSignerList(std::string(64, 'g')).empty());
    EXPECT_TRUE(ParseSignerList(kA + "," + kB).empty());

    const SignerList signers{kA, kB};
    EXPECT_TRUE(IsPinnedSigner(signers, kB));
    EXPECT_TRUE(IsPinnedSigner(signers, "0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF"));
    EXPECT_FALSE(IsPinnedSigner(signers, ""));
    EXPECT_FALSE(IsPinnedSigner(signers, kB.substr(0, 63)));
    EXPECT_FALSE(IsPinnedSigner(signers, std::string(64, 'c')));
    EXPECT_FALSE(IsPinnedSigner({}, kA));
}

TEST(UpdateDecisionTable, OnlyAPinnedIntactSignatureOnANewerVersionStarts) {
    const VersionNumber running{1, 5, 10, 0};
    const SignerList pinned{kA};
    const SignatureCheck good{SignatureVerdict::Trusted, kA};
    struct Row {
        SignerList signers;
        SignatureCheck signature;
        std::optional<VersionNumber> offered;
        UpdateDecision decision;
    };
    const std::vector<Row> table = {
        {pinned, good, VersionNumber{1, 6, 0, 0}, UpdateDecision::Start},
        {pinned, good, VersionNumber{1, 5, 10, 1}, UpdateDecision::Start},
        {pinned, good, VersionNumber{1, 5, 11, 0}, UpdateDecision::Start},
        {pinned, good, VersionNumber{2, 0, 0, 0}, UpdateDecision::Start},
        {pinned,
         {SignatureVerdict::TrustedRevocationUnknown, kA},
         VersionNumber{1, 6, 0, 0},
         UpdateDecision::Start},
        {{kB, kA}, good, VersionNumber{1, 6, 0, 0}, UpdateDecision::Start},
        // Older, equal or without a version: an old signed installer is no way back.
        {pinned, good, VersionNumber{1, 5, 10, 0}, UpdateDecision::NotNewer},
        {pinned, good, VersionNumber{1, 5, 9, 99}, UpdateDecision::NotNewer},
        {pinned, good, VersionNumber{1, 4, 20, 0}, UpdateDecision::NotNewer},
        {pinned, good, VersionNumber{0, 99, 0, 0}, UpdateDecision::NotNewer},
        {pinned, good, std::nullopt, UpdateDecision::NotNewer},
        // The signature comes first: a stranger's newer file says nothing about versions.
        {pinned, {SignatureVerdict::Trusted, kB}, VersionNumber{1, 6, 0, 0}, UpdateDecision::NotVerified},
        {pinned, {SignatureVerdict::Trusted, ""}, VersionNumber{1, 6, 0, 0}, UpdateDecision::NotVerified},
        {pinned, {SignatureVerdict::Revoked, kA}, VersionNumber{1, 6, 0, 0}, UpdateDecision::NotVerified},
        {pinned, {SignatureVerdict::Refused, kA}, VersionNumber{1, 6, 0, 0}, UpdateDecision::NotVerified},
        {pinned, {SignatureVerdict::Refused, kA}, std::nullopt, UpdateDecision::NotVerified},
        // Nothing pinned trusts nobody.
        {{}, good, VersionNumber{1, 6, 0, 0}, UpdateDecision::NoSigner},
        {{}, {SignatureVerdict::Refused, ""}, std::nullopt, UpdateDecision::NoSigner},
    };
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Row& row = table[i];
        EXPECT_EQ(DecideUpdate(row.signers, row.signature, row.offered, running), row.decision)
            << "row " << i;
    }
}

void PutU16(std::string& bytes, std::size_t at, std::uint32_t value) {
    if (bytes.size() < at + 2)
        bytes.resize(at + 2);
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    PutU16(bytes, at, value & 0xFFFF);
    PutU16(bytes, at + 2, value >> 16);
}

// A program image with nothing but a resource section that holds one resource of `type`, laid
// out as the linker and NSIS lay out a version resource.
std::string ProgramImage(bool plus, VersionNumber version, std::uint32_t type = 16) {
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

TEST(ProgramFileVersion, ReadFromTheVersionResourceOfBothImageKinds) {
    const VersionNumber version{1, 6, 2, 7};
    for (const bool plus : {false, true}) {
        const std::string image = ProgramImage(plus, version);
        const auto read = PeFileVersion(image);
        ASSERT_TRUE(read) << plus;
        EXPECT_EQ(*read, version);
        // Cut anywhere, the image has no version rather than a wrong one or a crash.
        for (std::size_t size = 0; size < image.size(); ++size)
            EXPECT_FALSE(PeFileVersion(std::string_view(image).substr(0, size))) << size;
    }
    EXPECT_FALSE(PeFileVersion(ProgramImage(true, version, /*type=*/14)));
    std::string wrongKey = ProgramImage(true, version);
    wrongKey[0x400 + 0x58 + 6] = 'X';
    EXPECT_FALSE(PeFileVersion(wrongKey));
    std::string loop = ProgramImage(true, version);
    PutU32(loop, 0x400 + 0x14, 0x80000000u); // the type entry leads back to the root
    EXPECT_FALSE(PeFileVersion(loop));
    std::string far = ProgramImage(false, version);
    PutU32(far, 0x400 + 0x48, 0xFFFFFFF0u);
    EXPECT_FALSE(PeFileVersion(far));
    EXPECT_FALSE(PeFileVersion("MZ"));
}

std::string Der(unsigned char tag, const std::string& contents) {
    std::string out(1, static_cast<char>(tag));
    if (contents.size() < 0x80) {
        out += static_cast<char>(contents.size());
    } else {
        std::string length;
        for (std::size_t n = contents.size(); n > 0; n >>= 8)
            length.insert(length.begin(), static_cast<char>(n & 0xFF));
        out += static_cast<char>(0x80 | length.size());
        out += length;
    }
    return out + contents;
}

TEST(CertificateKey, TheSubjectPublicKeyInfoIsFoundAsItsOwnBytes) {
    const std::string key =
        Der(0x30, Der(0x30, Der(0x06, "\x2a\x86\x48\x86\xf7\x0d\x01\x01\x01") + Der(0x05, "")) +
                      Der(0x03, std::string(1, '\0') + std::string(270, '\x5A')));
    const std::string name = Der(0x30, Der(0x31, Der(0x30, Der(0x06, "\x55\x04\x03") + Der(0x0C, "Signer"))));
    const std::string fields = Der(0x02, "\x01\x23") + Der(0x30, Der(0x06, "\x2a\x86")) + name +
                               Der(0x30, Der(0x17, "250101000000Z") + Der(0x17, "260101000000Z")) + name;
    const std::string signature = Der(0x30, Der(0x06, "\x2a\x86")) + Der(0x03, std::string(257, '\x11'));
    const std::string v3 = Der(
        0x30, Der(0x30, Der(0xA0, Der(0x02, "\x02")) + fields + key + Der(0xA3, Der(0x30, ""))) + signature);
    const std::string v1 = Der(0x30, Der(0x30, fields + key) + signature);
    for (const std::string& certificate : {v3, v1}) {
        const auto found = SubjectPublicKeyInfo(certificate);
        ASSERT_TRUE(found);
        EXPECT_EQ(*found, key);
        for (std::size_t size = 0; size < certificate.size(); size += 7)
            EXPECT_FALSE(SubjectPublicKeyInfo(std::string_view(certificate).substr(0, size))) << size;
    }
    EXPECT_FALSE(SubjectPublicKeyInfo(Der(0x30, Der(0x30, Der(0x02, "\x01") + name))));
    EXPECT_FALSE(SubjectPublicKeyInfo(std::string("\x30\x85\x01\x00\x00\x00\x00", 7)));
    EXPECT_EQ(LowerHex(std::string("\x00\x9f\xA0\xff", 4)), "009fa0ff");
}

} // namespace
} // namespace tov

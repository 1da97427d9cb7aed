// What decides whether a downloaded installer runs: the pinned signers, the signer's key as read
// from its certificate, the version in the file's resource, and the table that combines them.
#include "base/certificate_key.h"
#include "support/program_image.h"
#include "update/pe_version.h"
#include "update/update_trust.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace tov {
namespace {

using testing::ProgramImage;
using testing::PutU32;

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

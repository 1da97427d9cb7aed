#include "platform/signature_verdict.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

using C = CertificateRevocation;

// One certificate's unknown status was once allowed to hide another's revocation: the second
// look, without revocation, then found nothing wrong.
TEST(SignatureVerdict, AKnownRevocationCondemnsAndAnUnknownOneIsCheckedWithoutIt) {
    int secondLooks = 0;
    const auto holds = [&] {
        ++secondLooks;
        return true;
    };
    EXPECT_EQ(DecideSignature(TrustOutcome::RevocationUnknown, {C::Unknown, C::Revoked}, holds),
              SignatureVerdict::Revoked);
    EXPECT_EQ(DecideSignature(TrustOutcome::Trusted, {C::Good, C::Revoked}, holds),
              SignatureVerdict::Revoked);
    EXPECT_EQ(DecideSignature(TrustOutcome::Revoked, {}, holds), SignatureVerdict::Revoked);
    EXPECT_EQ(secondLooks, 0);

    EXPECT_EQ(DecideSignature(TrustOutcome::RevocationUnknown, {C::Unknown, C::Good}, holds),
              SignatureVerdict::TrustedRevocationUnknown);
    EXPECT_EQ(secondLooks, 1);
    EXPECT_EQ(DecideSignature(TrustOutcome::RevocationUnknown, {C::Unknown}, [] { return false; }),
              SignatureVerdict::Refused);
    EXPECT_EQ(DecideSignature(TrustOutcome::Trusted, {C::Good, C::Good}, holds), SignatureVerdict::Trusted);
    EXPECT_EQ(DecideSignature(TrustOutcome::Refused, {C::Good}, holds), SignatureVerdict::Refused);
    EXPECT_EQ(secondLooks, 1);
}

} // namespace
} // namespace tov

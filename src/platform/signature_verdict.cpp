#include "platform/signature_verdict.h"

#include <algorithm>

namespace tov {

SignatureVerdict DecideSignature(TrustOutcome withRevocation, const std::vector<CertificateRevocation>& chain,
                                 const std::function<bool()>& trustedWithoutRevocation) {
    if (std::find(chain.begin(), chain.end(), CertificateRevocation::Revoked) != chain.end())
        return SignatureVerdict::Revoked;
    switch (withRevocation) {
    case TrustOutcome::Trusted:
        return SignatureVerdict::Trusted;
    case TrustOutcome::Revoked:
        return SignatureVerdict::Revoked;
    case TrustOutcome::RevocationUnknown:
        // As Windows does for signed programs: offline revocation servers do not stop an update.
        return trustedWithoutRevocation() ? SignatureVerdict::TrustedRevocationUnknown
                                          : SignatureVerdict::Refused;
    case TrustOutcome::Refused:
        break;
    }
    return SignatureVerdict::Refused;
}

} // namespace tov

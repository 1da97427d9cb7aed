#pragma once
// What a file's signature is worth, from what the system's verification found. Kept apart from
// the calls that ask the system, so that the rule is the same wherever the answers come from.
#include "platform/platform.h"

#include <functional>
#include <vector>

namespace tov {

// One verification's answer as a whole.
enum class TrustOutcome { Trusted, RevocationUnknown, Revoked, Refused };

// What the revocation check learnt of one certificate of the signer's chain.
enum class CertificateRevocation { Good, Revoked, Unknown };

// The verdict from a verification that checked revocation (its answer and each certificate's
// state) and, asked only when that one could not learn the revocation status, whether the
// signature holds in every other respect. A certificate known to be revoked condemns the
// signature whatever the answer as a whole said: the system may report an unknown status of
// one certificate ahead of another's revocation.
SignatureVerdict DecideSignature(TrustOutcome withRevocation, const std::vector<CertificateRevocation>& chain,
                                 const std::function<bool()>& trustedWithoutRevocation);

} // namespace tov

#include "update/update_trust.h"

// Written by the build from its TOVLEN_UPDATE_SIGNERS setting.
#include "update_signers.inc"

namespace tov {

SignerList BuiltInUpdateSigners() {
    return ParseSignerList(kBuiltInUpdateSigners);
}

} // namespace tov

#include "update/update_trust.h"

#include "base/text.h"

#include <algorithm>

namespace tov {

namespace {

constexpr std::size_t kKeyHashDigits = 64;
constexpr char kSignerSeparator = ';';
constexpr std::string_view kBlanks = " \t\r\n";

bool IsKeyHash(std::string_view text) {
    return text.size() == kKeyHashDigits && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

} // namespace

SignerList ParseSignerList(std::string_view text) {
    SignerList signers;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(kSignerSeparator), text.size());
        std::string_view entry = text.substr(0, end);
        entry.remove_prefix(std::min(entry.find_first_not_of(kBlanks), entry.size()));
        entry = entry.substr(0, entry.find_last_not_of(kBlanks) + 1);
        const std::string signer = LowerCase(entry);
        if (IsKeyHash(signer))
            signers.push_back(signer);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return signers;
}

bool IsPinnedSigner(const SignerList& signers, std::string_view keyHash) {
    const std::string wanted = LowerCase(keyHash);
    return IsKeyHash(wanted) && std::find(signers.begin(), signers.end(), wanted) != signers.end();
}

UpdateDecision DecideUpdate(const SignerList& signers, const SignatureCheck& signature,
                            const std::optional<VersionNumber>& offered, const VersionNumber& running) {
    if (signers.empty())
        return UpdateDecision::NoSigner;
    const bool verified = signature.verdict == SignatureVerdict::Trusted ||
                          signature.verdict == SignatureVerdict::TrustedRevocationUnknown;
    if (!verified || !IsPinnedSigner(signers, signature.signerKeyHash))
        return UpdateDecision::NotVerified;
    if (!offered || *offered <= running)
        return UpdateDecision::NotNewer;
    return UpdateDecision::Start;
}

} // namespace tov

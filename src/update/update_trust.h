#pragma once
// Whether a downloaded installer may be started: signed by a pinned publisher, not revoked,
// and newer than the running program.
#include "platform/platform.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

// Hashes of the public keys allowed to sign updates: 64 lower-case hex digits each.
using SignerList = std::vector<std::string>;

// Reads "hash;hash;...": blanks around an entry and letter case do not matter; anything that
// is not 64 hex digits is no signer.
SignerList ParseSignerList(std::string_view text);

// The signers this copy was built with (TOVLEN_UPDATE_SIGNERS); empty when it names none.
SignerList BuiltInUpdateSigners();

bool IsPinnedSigner(const SignerList& signers, std::string_view keyHash);

// What the installer's version resource calls it (OriginalFilename). Every program of a release
// is signed with the same key, so only this name tells the installer from Tovlen.exe or the
// uninstaller, which would run from the downloads folder without the user's lists.
inline constexpr std::string_view kInstallerOriginalName = "Tovlen-setup.exe";

// Whether a file published under `originalName` is the installer (letter case aside).
bool IsTovlenInstaller(const std::optional<std::string>& originalName);

enum class UpdateDecision {
    Start,
    NoSigner,    // this copy pins no publisher, so it trusts none
    NotVerified, // bad or revoked signature, or a publisher that is not pinned
    NotNewer,    // no version resource, or not newer than the running program
};

UpdateDecision DecideUpdate(const SignerList& signers, const SignatureCheck& signature,
                            const std::optional<VersionNumber>& offered, const VersionNumber& running);

} // namespace tov

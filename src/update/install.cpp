#include "update/install.h"

#include "platform/files.h"
#include "update/pe_version.h"
#include "update/response.h"

namespace tov {

namespace {

constexpr const char* kDownloadPrefix = "update-";
constexpr const char* kDownloadSuffix = ".exe";
// Fresh names are tried this many times before the folder counts as unwritable.
constexpr int kNameAttempts = 16;

// Creates the file under a name that nothing has yet; its path, or empty.
std::string SaveUnderFreshName(Platform& platform, const std::string& folder, const std::string& bytes) {
    const auto stamp = static_cast<unsigned long long>(platform.MonotonicNow().time_since_epoch().count());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string path =
            JoinPath(folder, kDownloadPrefix + std::to_string(stamp + attempt) + kDownloadSuffix);
        if (WriteNewFile(path, bytes))
            return path;
        if (!PathExists(path))
            return {};
    }
    return {};
}

std::string MakeUpdatesFolder(Platform& platform) {
    const std::string base = platform.SpecialFolder(KnownFolder::LocalAppData);
    if (base.empty())
        return {};
    std::string folder = base;
    std::string_view rest = kUpdatesFolder;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\\'), rest.size());
        folder = JoinPath(folder, std::string(rest.substr(0, end)));
        if (!MakeFolder(folder))
            return {};
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return folder;
}

InstallOutcome Refuse(Platform& platform, HeldFilePtr held, InstallOutcome outcome, const char* why) {
    const std::string path = held->Path();
    held.reset();
    RemoveFile(path);
    platform.Log(std::string("Update not installed: ") + why);
    return outcome;
}

} // namespace

std::string UpdatesFolder(Platform& platform) {
    const std::string base = platform.SpecialFolder(KnownFolder::LocalAppData);
    return base.empty() ? std::string() : JoinPath(base, kUpdatesFolder);
}

void RemoveLeftoverDownloads(Platform& platform) {
    const std::string folder = UpdatesFolder(platform);
    if (folder.empty())
        return;
    for (const FoundEntry& entry : ListFolder(folder)) {
        if (!HasFlag(entry.attributes, FileAttribute::Folder))
            RemoveFile(JoinPath(folder, entry.name));
    }
}

std::string InstallerArguments(WindowHandle updateWindow, const std::string& programFolder) {
    return " " + std::to_string(updateWindow) + " /D=" + programFolder;
}

InstallOutcome InstallUpdate(Platform& platform, std::string installer, const InstallRequest& request,
                             const std::function<void()>& announce) {
    const std::string folder = MakeUpdatesFolder(platform);
    const std::string path = folder.empty() ? std::string() : SaveUnderFreshName(platform, folder, installer);
    installer = std::string();
    if (path.empty()) {
        platform.Log("Update not installed: it could not be saved");
        return InstallOutcome::NotSaved;
    }
    HeldFilePtr held = platform.HoldFile(path);
    if (!held) {
        RemoveFile(path);
        platform.Log("Update not installed: the saved file could not be held");
        return InstallOutcome::NotSaved;
    }
    // Said now, so that nothing waits on the user between the check and the start.
    if (announce)
        announce();

    const SignatureCheck signature = platform.VerifySignature(*held);
    const std::optional<std::string> image = platform.ReadHeldFile(*held, kMaxUpdateSize);
    const std::optional<VersionNumber> offered = image ? PeFileVersion(*image) : std::nullopt;
    switch (DecideUpdate(request.signers, signature, offered, request.runningVersion)) {
    case UpdateDecision::NoSigner:
        return Refuse(platform, std::move(held), InstallOutcome::NotVerified, "no signer is pinned");
    case UpdateDecision::NotVerified:
        return Refuse(platform, std::move(held), InstallOutcome::NotVerified,
                      signature.verdict == SignatureVerdict::Revoked
                          ? "a certificate of its signature is revoked"
                          : "its signature is not from a pinned signer");
    case UpdateDecision::NotNewer:
        return Refuse(platform, std::move(held), InstallOutcome::NotNewer,
                      "it is not newer than this version");
    case UpdateDecision::Start:
        break;
    }
    if (signature.verdict == SignatureVerdict::TrustedRevocationUnknown)
        platform.Log(
            "Update signature: whether a certificate is revoked could not be learnt; installing anyway");
    if (!platform.StartHeldProgram(*held, InstallerArguments(request.updateWindow, request.programFolder),
                                   request.programFolder))
        return Refuse(platform, std::move(held), InstallOutcome::NotStarted, "it could not be started");
    platform.Log("Update installer started");
    return InstallOutcome::Started;
}

} // namespace tov

#include "update/update.h"

#include "platform/settings_store.h"
#include "suggest/working_monitor.h"
#include "update/install.h"

namespace tov {

namespace {

constexpr const char* kNotOnline =
    "No internet connection found. Make sure you are connected to the internet before updating.";
constexpr const char* kConnectError = "There was an error connecting.";
constexpr const char* kNoUpdate = "This is the current version of Tovlen.";
constexpr const char* kIncomplete = "The update could not be downloaded completely. Please try again later.";
constexpr const char* kNotVerified = "The downloaded update could not be verified, so it was not installed.";
constexpr const char* kInstalling = "Update downloaded, now installing.";
constexpr const char* kNoSigner =
    "This copy of Tovlen was built without an update signer, so it cannot install updates.";
constexpr const char* kNotNewer =
    "The downloaded update is not newer than this version, so it was not installed.";
constexpr const char* kNotStarted = "The downloaded update could not be started.";
constexpr const char* kNotInstaller =
    "The downloaded update is not Tovlen's installer, so it was not installed.";
// Any status but 200 and 404 is the server's trouble, not news that this version is current.
constexpr const char* kServerErrorStart = "The update server answered with an error (";
constexpr const char* kServerErrorEnd = "). Please try again later.";
constexpr const char* kNotHttp = "no HTTP answer";

std::unique_ptr<Form> MakeUpdateForm() {
    auto form = std::make_unique<Form>();
    form->name = frmUpdate::kFormName;
    form->caption = "Tovlen Auto-Update";
    form->rect = Rect{0, 0, 240, 80};
    form->style.captionBar = true;
    Control status;
    status.name = frmUpdate::lblStatus;
    status.kind = ControlKind::Label;
    status.rect = Rect{8, 8, 220, 20};
    status.text = "Connecting";
    form->Add(std::move(status));
    return form;
}

void Tell(Platform& platform, const char* text) {
    platform.ShowMessageBox(text, kAppName, MessageBoxButtons::Ok);
}

void SetStatus(Platform& platform, Forms& forms, const char* text) {
    if (Form* form = forms.frmUpdate.get()) {
        form->At(frmUpdate::lblStatus).text = text;
        if (form->handle != 0)
            platform.UpdateForm(*form);
    }
}

// Ends a check that did not start an installer.
void GiveUp(Platform& platform, Forms& forms, const std::string& message) {
    platform.ShowMessageBox(message, kAppName, MessageBoxButtons::Ok);
    UnloadForm(platform, forms, forms.frmUpdate);
}

std::string ServerErrorMessage(const std::string& status) {
    return kServerErrorStart + (status.empty() ? std::string(kNotHttp) : "HTTP " + status) + kServerErrorEnd;
}

} // namespace

std::optional<UpdateServer> ConfiguredUpdateServer(Platform& platform) {
    return ParseUpdateServer(
        platform.ReadSetting(kAppName, kSettingsSection, kUpdateHostSetting).value_or(""));
}

VersionNumber RunningVersion(Platform& platform) {
    return platform.ProgramVersion().value_or(
        VersionNumber{TOVLEN_VERSION_MAJOR, TOVLEN_VERSION_MINOR, TOVLEN_VERSION_REVISION, 0});
}

std::uint16_t ProgramMinorVersion(Platform& platform) {
    return RunningVersion(platform).minor;
}

void RunUpdate(Platform& platform, State& state, Forms& forms) {
    RunUpdate(platform, state, forms, ExchangeLimits{}, BuiltInUpdateSigners());
}

void RunUpdate(Platform& platform, State& state, Forms& forms, const ExchangeLimits& limits,
               const SignerList& signers) {
    // The check lets events run while it waits; a second "update" typed meanwhile finds it busy.
    if (forms.frmUpdate)
        return;
    forms.frmUpdate = MakeUpdateForm();
    AnchorToWorkArea(*forms.frmUpdate,
                     MonitorForWindows(platform, state.WorkingMonitor != 0, platform.ForegroundWindow()));
    platform.CreateFormWindow(*forms.frmUpdate);

    // Trusting any publisher would let whoever sits on the network path run programs here.
    if (signers.empty())
        return GiveUp(platform, forms, kNoSigner);
    if (!platform.InternetConnected())
        return GiveUp(platform, forms, kNotOnline);
    const auto server = ConfiguredUpdateServer(platform);
    if (!server)
        return GiveUp(platform, forms, kConnectError);

    const std::string installerName = InstallerName(ProgramMinorVersion(platform));
    ExchangeResult result = FetchInstaller(
        *server, installerName, limits, [&] { platform.PumpPendingMessages(); },
        [&] { SetStatus(platform, forms, "Checking for updates"); });
    if (!result.failure.empty())
        platform.Log("Update check: " + result.failure);
    switch (result.outcome) {
    case ExchangeOutcome::ConnectFailed:
        return GiveUp(platform, forms, kConnectError);
    case ExchangeOutcome::NoUpdate:
        return GiveUp(platform, forms, kNoUpdate);
    case ExchangeOutcome::ServerError:
        platform.Log("Update check: the server answered " +
                     (result.status.empty() ? kNotHttp : result.status));
        return GiveUp(platform, forms, ServerErrorMessage(result.status));
    case ExchangeOutcome::Incomplete:
        return GiveUp(platform, forms, kIncomplete);
    case ExchangeOutcome::Downloaded:
        break;
    }

    const InstallRequest request{signers, RunningVersion(platform), platform.ProgramFolder(),
                                 forms.frmUpdate->handle};
    switch (
        InstallUpdate(platform, std::move(result.installer), request, [&] { Tell(platform, kInstalling); })) {
    case InstallOutcome::NotSaved:
        return GiveUp(platform, forms, kIncomplete);
    case InstallOutcome::NotVerified:
        return GiveUp(platform, forms, kNotVerified);
    case InstallOutcome::NotInstaller:
        return GiveUp(platform, forms, kNotInstaller);
    case InstallOutcome::NotNewer:
        return GiveUp(platform, forms, kNotNewer);
    case InstallOutcome::NotStarted:
        return GiveUp(platform, forms, kNotStarted);
    case InstallOutcome::Started:
        break;
    }
    // The update window stays until the program has ended: the installer was handed its handle.
    state.Running = false;
}

} // namespace tov

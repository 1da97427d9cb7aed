#include "update/update.h"

#include "platform/files.h"
#include "platform/settings_store.h"

namespace tov {

namespace {

constexpr const char* kNotOnline =
    "No internet connection found. Make sure you are connected to the internet before updating.";
constexpr const char* kConnectError = "There was an error connecting.";
constexpr const char* kNoUpdate = "This is the current version of Tovlen.";
constexpr const char* kIncomplete = "The update could not be downloaded completely. Please try again later.";
constexpr const char* kNotVerified = "The downloaded update could not be verified, so it was not installed.";
constexpr const char* kInstalling = "Update downloaded, now installing.";

std::unique_ptr<Form> MakeUpdateForm() {
    auto form = std::make_unique<Form>();
    form->name = "frmUpdate";
    form->caption = "Tovlen Auto-Update";
    form->rect = Rect{0, 0, 240, 80};
    form->style.captionBar = true;
    Control status;
    status.name = "lblStatus";
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
        form->At("lblStatus").text = text;
        if (form->handle != 0)
            platform.UpdateForm(*form);
    }
}

// Ends a check that did not start an installer.
void GiveUp(Platform& platform, Forms& forms, const char* message) {
    Tell(platform, message);
    UnloadForm(platform, forms, forms.frmUpdate);
}

} // namespace

std::optional<UpdateServer> ConfiguredUpdateServer(Platform& platform) {
    return ParseUpdateServer(
        platform.ReadSetting(kAppName, kSettingsSection, kUpdateHostSetting).value_or(""));
}

std::uint16_t ProgramMinorVersion(Platform& platform) {
    if (const auto version = platform.ProgramVersion())
        return version->minor;
    return TOVLEN_VERSION_MINOR;
}

void RunUpdate(Platform& platform, State& state, Forms& forms, const ExchangeLimits& limits) {
    // The check lets events run while it waits; a second "update" typed meanwhile finds it busy.
    if (forms.frmUpdate)
        return;
    forms.frmUpdate = MakeUpdateForm();
    platform.CreateFormWindow(*forms.frmUpdate);

    if (!platform.InternetConnected())
        return GiveUp(platform, forms, kNotOnline);
    const auto server = ConfiguredUpdateServer(platform);
    if (!server)
        return GiveUp(platform, forms, kConnectError);

    const std::string installerName = InstallerName(ProgramMinorVersion(platform));
    ExchangeResult result = FetchInstaller(
        *server, installerName, limits, [&] { platform.PumpPendingMessages(); },
        [&] { SetStatus(platform, forms, "Checking for updates"); });
    switch (result.outcome) {
    case ExchangeOutcome::ConnectFailed:
        return GiveUp(platform, forms, kConnectError);
    case ExchangeOutcome::NoUpdate:
        return GiveUp(platform, forms, kNoUpdate);
    case ExchangeOutcome::Incomplete:
        return GiveUp(platform, forms, kIncomplete);
    case ExchangeOutcome::Downloaded:
        break;
    }

    const std::string folder = platform.ProgramFolder();
    const std::string updateFile = JoinPath(folder, kUpdateFileName);
    // Written beside the final name and renamed when whole, so a half-written installer never exists.
    const bool saved = ReplaceFileContents(updateFile, result.installer);
    result.installer = std::string();
    if (!saved)
        return GiveUp(platform, forms, kIncomplete);
    // It came over plain HTTP: whoever sits on the path could have replaced it.
    if (!platform.VerifyFileSignature(updateFile)) {
        RemoveFile(updateFile);
        return GiveUp(platform, forms, kNotVerified);
    }
    Tell(platform, kInstalling);
    // The installer is handed the update window, which stays until the program has ended.
    platform.ShellOpen(updateFile, " " + std::to_string(forms.frmUpdate->handle), folder, ShowCommand::Show);
    state.Running = false;
}

} // namespace tov

#include "update/update.h"

#include "app/app.h"
#include "app/settings.h"
#include "platform/files.h"

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

void Tell(App& app, const char* text) {
    app.platform.ShowMessageBox(text, kAppName, MessageBoxButtons::Ok);
}

void SetStatus(App& app, const char* text) {
    if (Form* form = app.forms.frmUpdate.get()) {
        form->At("lblStatus").text = text;
        if (form->handle != 0)
            app.platform.UpdateForm(*form);
    }
}

// Ends a check that did not start an installer.
void GiveUp(App& app, const char* message) {
    Tell(app, message);
    UnloadForm(app, app.forms.frmUpdate);
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

void RunUpdate(App& app) {
    RunUpdate(app, ExchangeLimits{});
}

void RunUpdate(App& app, const ExchangeLimits& limits) {
    // The check lets events run while it waits; a second "update" typed meanwhile finds it busy.
    if (app.forms.frmUpdate)
        return;
    app.forms.frmUpdate = MakeUpdateForm();
    app.platform.CreateFormWindow(*app.forms.frmUpdate);

    if (!app.platform.InternetConnected())
        return GiveUp(app, kNotOnline);
    const auto server = ConfiguredUpdateServer(app.platform);
    if (!server)
        return GiveUp(app, kConnectError);

    const std::string installerName = InstallerName(ProgramMinorVersion(app.platform));
    ExchangeResult result = FetchInstaller(
        *server, installerName, limits, [&] { app.platform.PumpPendingMessages(); },
        [&] { SetStatus(app, "Checking for updates"); });
    switch (result.outcome) {
    case ExchangeOutcome::ConnectFailed:
        return GiveUp(app, kConnectError);
    case ExchangeOutcome::NoUpdate:
        return GiveUp(app, kNoUpdate);
    case ExchangeOutcome::Incomplete:
        return GiveUp(app, kIncomplete);
    case ExchangeOutcome::Downloaded:
        break;
    }

    const std::string folder = app.platform.ProgramFolder();
    const std::string updateFile = JoinPath(folder, kUpdateFileName);
    // Written beside the final name and renamed when whole, so a half-written installer never exists.
    const bool saved = ReplaceFileContents(updateFile, result.installer);
    result.installer = std::string();
    if (!saved)
        return GiveUp(app, kIncomplete);
    // It came over plain HTTP: whoever sits on the path could have replaced it.
    if (!app.platform.VerifyFileSignature(updateFile)) {
        RemoveFile(updateFile);
        return GiveUp(app, kNotVerified);
    }
    Tell(app, kInstalling);
    // The installer is handed the update window, which stays until the program has ended.
    app.platform.ShellOpen(updateFile, " " + std::to_string(app.forms.frmUpdate->handle), folder,
                           ShowCommand::Show);
    app.state.Running = false;
}

} // namespace tov

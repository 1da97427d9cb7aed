#pragma once
// The program's windows. Each is a single instance, made by the code that owns it on first
// use and unloaded freely; every layer reaches the ones it shows or looks at through here.
#include "platform/platform.h"
#include "ui/form.h"

#include <memory>
#include <optional>
#include <vector>

namespace tov {

struct Forms {
    std::unique_ptr<Form> frmWelcome;
    std::unique_ptr<Form> frmSystray;
    std::unique_ptr<Form> frmLoad;
    std::unique_ptr<Form> frmMain;
    std::unique_ptr<Form> frmPrefs;
    std::unique_ptr<Form> frmRemap;
    std::unique_ptr<Form> frmCommandSuggestion;
    std::unique_ptr<Form> frmUpdate;
    // The monitor the command and suggestion windows were last placed on.
    std::optional<Monitor> commandMonitor;
    // Forms unloaded by their own handlers die here, after the handler has returned.
    std::vector<std::unique_ptr<Form>> unloaded;
};

// Destroys the form's window, if any, and forgets the form.
void UnloadForm(Platform& platform, Forms& forms, std::unique_ptr<Form>& form);
// Unloads every form, in a fixed order.
void UnloadAllForms(Platform& platform, Forms& forms);

} // namespace tov

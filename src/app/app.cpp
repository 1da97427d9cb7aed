#include "app/app.h"

#include "platform/files.h"

namespace tov {

App::~App() {
    for (auto* form : {&forms.frmWelcome, &forms.frmSystray, &forms.frmLoad, &forms.frmMain, &forms.frmPrefs,
                       &forms.frmRemap, &forms.frmCommandSuggestion, &forms.frmUpdate})
        UnloadForm(*this, *form);
}

void UnloadForm(App& app, std::unique_ptr<Form>& form) {
    if (!form)
        return;
    if (form->handle != 0)
        app.platform.DestroyFormWindow(*form);
    app.unloaded.push_back(std::move(form));
}

std::string ProgramFile(App& app, const std::string& name) {
    return JoinPath(app.platform.ProgramFolder(), name);
}

} // namespace tov

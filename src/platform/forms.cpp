#include "platform/forms.h"

namespace tov {

void UnloadForm(Platform& platform, Forms& forms, std::unique_ptr<Form>& form) {
    if (!form)
        return;
    if (form->handle != 0)
        platform.DestroyFormWindow(*form);
    forms.unloaded.push_back(std::move(form));
}

void UnloadAllForms(Platform& platform, Forms& forms) {
    for (auto* form : {&forms.frmWelcome, &forms.frmSystray, &forms.frmLoad, &forms.frmMain, &forms.frmPrefs,
                       &forms.frmRemap, &forms.frmCommandSuggestion, &forms.frmUpdate})
        UnloadForm(platform, forms, *form);
}

} // namespace tov

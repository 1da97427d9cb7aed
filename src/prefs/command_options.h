#pragma once
// The user's own commands on the preferences window: the list of their names, and the add
// dialogue that picks a program, file, folder or web site and names it. Every change is
// written to "customprograms.lst" at once and the catalogue is rebuilt before the handler
// returns.
#include "prefs/preferences_window.h"

#include <string>
#include <string_view>

namespace tov {

// What the window carries between the steps of adding a command, and the open-file
// dialog's settings, which the Firefox "Locate" button shares.
struct PreferencesFields {
    std::string NewCommandName;   // lower case: what the user will type
    std::string NewCommandAction; // a run command line for a path, or a web one for an address
    OpenFileRequest cdOpen{"Select Program", "c:\\", ".exe", "*.exe"};
};

// The name offered for a program or file: the path's last component without its last
// four characters (the dot and a three-letter extension).
std::string DefaultFileCommandName(std::string_view path);
// The name offered for a folder: the path's last component; empty when it ends in "\".
std::string DefaultFolderCommandName(std::string_view path);

void RefreshCommandList(const PreferencesContext& p);
void ResetCommandTypes(const PreferencesContext& p);
void cmdAddProgram_Click(const PreferencesContext& p, PreferencesFields& fields);
void opCommandType_Click(const PreferencesContext& p, PreferencesFields& fields, int index);
// The add step: appends the record, rebuilds, refills the list and closes the add frame.
// False, with nothing written, when the file cannot be written or the command would run itself.
bool cmdAddOkay_Click(const PreferencesContext& p, PreferencesFields& fields);
void cmdCancel_Click(const PreferencesContext& p);
void lstPrograms_Click(const PreferencesContext& p);
void cmdRemoveProgram_Click(const PreferencesContext& p);

} // namespace tov

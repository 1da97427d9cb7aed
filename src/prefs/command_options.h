#pragma once
// The user's own commands on the preferences window: the list of their names, and the add
// dialogue that picks a program, file, folder or web site and names it. Every change is
// written to "customprograms.lst" at once and the catalogue is rebuilt before the handler
// returns.
#include "platform/platform.h"

#include <string>
#include <string_view>

namespace tov {

struct App;

// What the window carries between the steps of adding a command, and the open-file
// dialog's settings, which the Firefox "Locate" button shares.
struct PreferencesFields {
    std::string NewCommandName;   // lower case: what the user will type
    std::string NewCommandAction; // "run " + path, or "web " + address
    OpenFileRequest cdOpen{"Select Program", "c:\\", ".exe", "*.exe"};
};

// The name offered for a program or file: the path's last component without its last
// four characters (the dot and a three-letter extension).
std::string DefaultFileCommandName(std::string_view path);
// The name offered for a folder: the path's last component; empty when it ends in "\".
std::string DefaultFolderCommandName(std::string_view path);

void RefreshCommandList(App& app);
void ResetCommandTypes(App& app);
void cmdAddProgram_Click(App& app, PreferencesFields& fields);
void opCommandType_Click(App& app, PreferencesFields& fields, int index);
// The add step: appends the record, rebuilds, refills the list and closes the add frame.
// False, with nothing written, when the file cannot be written or the command would run itself.
bool cmdAddOkay_Click(App& app, PreferencesFields& fields);
void cmdCancel_Click(App& app);
void lstPrograms_Click(App& app);
void cmdRemoveProgram_Click(App& app);

} // namespace tov

#pragma once
// A running program on the fake platform with its preferences window open, its program
// folder a temporary folder of its own.
#include "app/app.h"
#include "app/catalogue_build.h"
#include "app/contexts.h"
#include "app/program.h"
#include "catalogue/build.h"
#include "catalogue/custom_commands.h"
#include "platform/fake/fake_platform.h"
#include "prefs/key_mapping.h"
#include "prefs/preferences.h"
#include "prefs/preferences_form.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tov::testing {

class PreferencesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.programFolder = folder.Path().string();
        Startup(app);
    }
    Form& Open() {
        ShowPreferences(app);
        return *app.forms.frmPrefs;
    }
    Form& Prefs() { return *app.forms.frmPrefs; }
    // A click, and the messages after it, with which a rebuild lands.
    void Click(ControlName control, int index = 0) {
        platform.ClickControl(Prefs(), control, index);
        platform.RunPending();
    }
    void Rebuild() {
        BuildCatalogue(app);
        platform.RunPending();
    }
    std::string Setting(const std::string& key) { return platform.settings["Tovlen\\settings\\" + key]; }

    std::string ListFile() const { return folder.Read(kCustomCommandsFile); }
    void WriteListFile(const std::string& bytes) const { folder.Write(kCustomCommandsFile, bytes); }
    bool HasCustom(const std::string& name) const {
        return std::any_of(app.catalogue.custom.begin(), app.catalogue.custom.end(),
                           [&](const CustomCommand& c) { return c.Name == name; });
    }

    TempFolder folder;
    FakePlatform platform;
    App app{platform};
};

} // namespace tov::testing

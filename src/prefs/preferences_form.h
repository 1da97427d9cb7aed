#pragma once
// The preferences window frmPrefs as data: frames, controls, captions and places. The
// handlers are attached by the code that loads it.
#include "ui/screen.h"

namespace tov {

namespace frmPrefs {
inline constexpr const char* kFormName = "frmPrefs";
inline constexpr ControlName fmeUpdates{"fmeUpdates"};
inline constexpr ControlName cmdCheckUpdates{"cmdCheckUpdates"};
inline constexpr ControlName fmeSuggestions{"fmeSuggestions"};
inline constexpr ControlName lblSuggestionsPrompt{"lblSuggestionsPrompt"};
inline constexpr ControlName lblSuggestions{"lblSuggestions"};
inline constexpr ControlName udSuggestions{"udSuggestions"};
inline constexpr ControlName chkNearMatches{"chkNearMatches"};
inline constexpr ControlName fmeKeyMapping{"fmeKeyMapping"};
inline constexpr ControlName lblKeyPrompt{"lblKeyPrompt"};
inline constexpr ControlName lblKeyMap{"lblKeyMap"};
inline constexpr ControlName cmdRemap{"cmdRemap"};
inline constexpr ControlName cmdKeyMapReset{"cmdKeyMapReset"};
inline constexpr ControlName fmeTransparency{"fmeTransparency"};
inline constexpr ControlName sdrTransparency{"sdrTransparency"};
inline constexpr ControlName lblTransparencyLow{"lblTransparencyLow"};
inline constexpr ControlName lblTransparencyHigh{"lblTransparencyHigh"};
inline constexpr ControlName fmeWindowPlace{"fmeWindowPlace"};
inline constexpr ControlName chkWorkingMonitor{"chkWorkingMonitor"};
inline constexpr ControlName fmeUserCommands{"fmeUserCommands"};
inline constexpr ControlName chkCheckBeforeShutdown{"chkCheckBeforeShutdown"};
inline constexpr ControlName chkFFFavorites{"chkFFFavorites"};
inline constexpr ControlName cmdFFLocate{"cmdFFLocate"};
inline constexpr ControlName chkIEFavorites{"chkIEFavorites"};
inline constexpr ControlName chkChromiumFavorites{"chkChromiumFavorites"};
inline constexpr ControlName chkApps{"chkApps"};
inline constexpr ControlName lstPrograms{"lstPrograms"};
inline constexpr ControlName cmdAddProgram{"cmdAddProgram"};
inline constexpr ControlName cmdRemoveProgram{"cmdRemoveProgram"};
inline constexpr ControlName fmeAddCommand{"fmeAddCommand"};
inline constexpr ControlName lblAddPrompt{"lblAddPrompt"};
inline constexpr ControlName opCommandType{"opCommandType"};
inline constexpr ControlName cmdAddOkay{"cmdAddOkay"};
inline constexpr ControlName cmdCancel{"cmdCancel"};
inline constexpr ControlName lblWebAddress{"lblWebAddress"};
inline constexpr ControlName cmdOkay{"cmdOkay"};
} // namespace frmPrefs

// The product's web site, shown and opened by the link at the foot of the window.
inline constexpr const char* kProductWebAddress = "https://tovlen.org";

inline constexpr const char* kFirefoxCaption = "Include Firefox Favorites";
inline constexpr const char* kFirefoxNotFoundCaption = "Firefox Not Found";
inline constexpr const char* kFirefoxLocatedCaption = "Include FireFox Favorites";

inline constexpr int kTransparencyMinimum = 100;
inline constexpr int kTransparencyMaximum = 255;
inline constexpr int kSuggestionsMinimum = 1;
inline constexpr int kSuggestionsMaximum = 20;

// The kinds of custom command, as the option buttons opCommandType 0 to 3 name them.
inline constexpr const char* kCommandTypeCaptions[] = {"Program", "File", "Folder", "Web site"};
inline constexpr int kCommandTypeCount = 4;
inline constexpr int kCommandTypeProgram = 0;
inline constexpr int kCommandTypeFile = 1;
inline constexpr int kCommandTypeFolder = 2;
inline constexpr int kCommandTypeWebSite = 3;

// Centred in the monitor's work area.
Form MakePreferencesForm(const Monitor& monitor);

} // namespace tov

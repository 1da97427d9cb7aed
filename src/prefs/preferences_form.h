#pragma once
// The preferences window frmPrefs as data: frames, controls, captions and places. The
// handlers are attached by the code that loads it.
#include "platform/form.h"

namespace tov {

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

// Centred on a screen of the given size.
Form MakePreferencesForm(Size screen);

} // namespace tov

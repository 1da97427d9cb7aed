#pragma once
// The splash window frmLoad: the title over the logo while start-up runs, faded out at its end.
#include "ui/form.h"

#include <chrono>

namespace tov {

namespace frmLoad {
inline constexpr const char* kFormName = "frmLoad";
inline constexpr ControlName picBorder{"picBorder"};
inline constexpr ControlName imgLogo{"imgLogo"};
inline constexpr ControlName lblTitleShadow{"lblTitleShadow"};
inline constexpr ControlName lblTitle{"lblTitle"};
} // namespace frmLoad

struct App;

constexpr Rect kSplashClient{0, 0, 398, 144};
constexpr int kSplashTop = 100;
// How long the splash stands after it was made before it fades, when start-up is quicker.
constexpr std::chrono::milliseconds kSplashStandTime{1000};

// The fade goes from the opacity down to 0 in tenths, each whole level set ten times over.
int FadeStepCount(int opacity);
int FadeLevel(int opacity, int step);

Form MakeSplash(App& app);

// Start-up's splash step: makes, places and shows frmLoad.
void ShowSplash(App& app);
// Lets the splash stand, fades it, opens the welcome window when due, and destroys the splash.
void FadeAwaySplash(App& app);

} // namespace tov

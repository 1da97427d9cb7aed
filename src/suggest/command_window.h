#pragma once
// The command window frmMain: icon of the best match, the typed text laid over the best
// match, and a one-line description.
#include "platform/form.h"

#include <string>

namespace tov {

struct App;

constexpr int kCommandTextLeft = 70;
constexpr Colour kIconBoxColour = Rgb(121, 191, 104);

Form MakeCommandWindow(App& app);

// Destroys any previous command window and shows a fresh one, topmost, without taking the focus.
void OpenCommandWindow(App& app);
// Destroys the command window and hides the suggestions.
void CloseCommandWindow(App& app);
void HideCommandWindow(App& app);
// Brings the labels, the suggestions and the icon in step with the command line.
void RefreshCommandWindow(App& app);
// The description line's text for a command line; `caption` is the previous window's.
std::string DescribeCommandLine(const std::string& commandText, const std::string& caption);
// Shows the command window again with a message in its description line, keeping it open.
void ShowCommandWindowMessage(App& app, const std::string& message);

} // namespace tov

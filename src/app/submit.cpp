#include "app/submit.h"

#include "app/app.h"
#include "app/command_line.h"
#include "app/contexts.h"
#include "platform/settings_store.h"

namespace tov {

namespace {

// The window closes on Enter, so the tray icon says what became of the result.
void CopyResult(Platform& platform, const std::string& result) {
    if (platform.SetClipboardText(result))
        platform.ShowTrayBalloon(kAppName, "Copied " + result, BalloonIcon::Information);
    else
        platform.ShowTrayBalloon(kAppName,
                                 "Could not copy " + result + ": another program holds the clipboard.",
                                 BalloonIcon::Warning);
}

} // namespace

bool SubmitCommandLine(App& app, const FrozenLine& line) {
    const CommandContext context = CommandContextOf(app, line);
    const DispatchResult answer = RunCommand(context, line.text);
    // The best suggestion runs only when the line itself carried nothing out, so a typed
    // built-in word or a whole "run" phrase is never run twice.
    if (answer.keepOpen || answer.carriedOut)
        return answer.keepOpen;
    if (line.selection <= 0) {
        if (const std::optional<std::string> result = CalculationOf(app, line.text)) {
            if (line.kind == SubmitKind::Run)
                CopyResult(app.platform, *result);
            return false;
        }
    }
    const std::string suggestion = context.bestMatch(line.text);
    return !suggestion.empty() && RunCommand(context, suggestion).keepOpen;
}

} // namespace tov

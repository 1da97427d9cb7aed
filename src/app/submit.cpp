#include "app/submit.h"

#include "app/app.h"
#include "app/command_line.h"
#include "app/contexts.h"

namespace tov {

bool SubmitCommandLine(App& app, const FrozenLine& line) {
    const CommandContext context = CommandContextOf(app, line);
    const DispatchResult answer = RunCommand(context, line.text);
    // The best suggestion runs only when the line itself carried nothing out, so a typed
    // built-in word or a whole "run" phrase is never run twice.
    if (answer.keepOpen || answer.carriedOut)
        return answer.keepOpen;
    const std::string suggestion = context.bestMatch(line.text);
    return !suggestion.empty() && RunCommand(context, suggestion).keepOpen;
}

} // namespace tov

#include "commands/dispatch.h"

#include "app/app.h"

namespace tov {

DispatchResult RunCommand(App& app, const std::string& line) {
    DispatchResult result;
    if (line == "exit") {
        app.state.Running = false;
        result.carriedOut = true;
    }
    return result;
}

} // namespace tov

#pragma once
#include "catalogue/catalogue.h"

#include <string>
#include <vector>

namespace tov {

// Whether the custom command {name, action}, added after `existing`, would run itself over
// and over: its action line leads back to a name already on the way (the dispatcher runs
// the first record of a name and takes its action as a new command line), or the line the
// chain ends in is a run command line that one of the chain's own names contains, so that with
// the target gone the best suggestion for that line would be the command itself.
bool WouldRunItself(const std::vector<CustomCommand>& existing, const std::string& name,
                    const std::string& action);

} // namespace tov

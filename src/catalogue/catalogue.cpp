#include "catalogue/catalogue.h"

#include "base/text.h"
#include "catalogue/built_in_commands.h"

namespace tov {

std::string RunPhrase(std::string_view name) {
    return BuiltInCommandLine(BuiltInAction::Run, LowerCase(name));
}

void AddCommandEntry(Catalogue& catalogue, CommandEntry entry) {
    catalogue.table.push_back(std::move(entry));
    catalogue.phrases.push_back(RunPhrase(catalogue.table.back().Name));
}

} // namespace tov

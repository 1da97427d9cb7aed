#include "platform/form.h"

#include <stdexcept>

namespace tov {

Control& Form::At(std::string_view controlName, int index) {
    if (Control* c = Find(controlName, index))
        return *c;
    // A form's controls are declared in code, so a missing one is a programming error.
    throw std::logic_error(name + " has no control " + std::string(controlName) + "(" +
                           std::to_string(index) + ")");
}

} // namespace tov

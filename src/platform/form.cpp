#include "platform/form.h"

#include <stdexcept>

namespace tov {

Control& Form::At(ControlName controlName, int index) {
    if (Control* c = Find(controlName, index))
        return *c;
    // A form's controls are declared in code, so a missing one is a programming error.
    throw std::logic_error(name + " has no control " + std::string(controlName.Text()) + "(" +
                           std::to_string(index) + ")");
}

} // namespace tov

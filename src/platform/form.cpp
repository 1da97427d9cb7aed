#include "platform/form.h"

#include <cctype>
#include <stdexcept>

namespace tov {

std::string TextWithAccessKey(const Control& c) {
    std::string marked;
    bool placed = c.accessKey == 0;
    const auto key = std::tolower(static_cast<unsigned char>(c.accessKey));
    for (char ch : c.text) {
        if (ch == '&')
            marked += '&';
        else if (!placed && std::tolower(static_cast<unsigned char>(ch)) == key) {
            marked += '&';
            placed = true;
        }
        marked += ch;
    }
    return marked;
}

Control& Form::At(ControlName controlName, int index) {
    if (Control* c = Find(controlName, index))
        return *c;
    // A form's controls are declared in code, so a missing one is a programming error.
    throw std::logic_error(name + " has no control " + std::string(controlName.Text()) + "(" +
                           std::to_string(index) + ")");
}

} // namespace tov

#include "ui/form.h"

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

AccessibleWindow DescribeForm(const Form& form) {
    AccessibleWindow window;
    window.self = {.role = AccessibleRole::Client,
                   .name = form.caption,
                   .rect = {0, 0, form.rect.width, form.rect.height}};
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        const Control& c = form.controls[i];
        const Control* frame = c.parent.Empty() ? nullptr : form.Find(c.parent);
        if (!c.visible || (frame && !frame->visible))
            continue;
        Rect rect = c.rect;
        if (frame) {
            rect.left += frame->rect.left;
            rect.top += frame->rect.top;
        }
        AccessiblePart part{.name = c.text, .rect = rect};
        switch (c.kind) {
        case ControlKind::Label:
            if (c.text.empty())
                continue;
            part.role = AccessibleRole::StaticText;
            break;
        case ControlKind::Frame:
            part.role = AccessibleRole::Grouping;
            break;
        case ControlKind::Image:
        case ControlKind::PictureBox:
        case ControlKind::Line:
            continue;
        default:
            part.role = AccessibleRole::Control;
            part.nativeControl = static_cast<int>(i);
            break;
        }
        window.parts.push_back(std::move(part));
    }
    return window;
}

Control& Form::At(ControlName controlName, int index) {
    if (Control* c = Find(controlName, index))
        return *c;
    // A form's controls are declared in code, so a missing one is a programming error.
    throw std::logic_error(name + " has no control " + std::string(controlName.Text()) + "(" +
                           std::to_string(index) + ")");
}

} // namespace tov

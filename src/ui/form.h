#pragma once
// A form is declared once as plain data: its window, its controls with their positions,
// captions and looks, and the handlers their events call. The platform turns a Form into a
// real window and keeps it in step when the form changes; the fake platform keeps only the
// data, which is what the tests read. Labels, images, pictures and lines have no window of
// their own: the form draws them, so a click on one of them lands on the form itself.
#include "ui/accessible.h"
#include "ui/window_values.h"

#include <compare>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

// The name of a control or menu item. Each form's header declares its names once, as
// constants in a namespace named after the form; the form and every look-up use those, so a
// misspelt name fails to compile. Made only from literals, so the text always outlives it.
class ControlName {
  public:
    constexpr ControlName() = default;
    consteval explicit ControlName(const char* text) : text_(text) {}
    constexpr std::string_view Text() const { return text_; }
    constexpr bool Empty() const { return text_.empty(); }
    constexpr bool operator==(const ControlName&) const = default;
    constexpr auto operator<=>(const ControlName&) const = default;

  private:
    std::string_view text_;
};

enum class ControlKind {
    Label,      // windowless text, CR LF separates lines
    Image,      // windowless picture, stretched to its rectangle
    PictureBox, // windowless box with a background colour and an optional picture
    Line,       // windowless horizontal rule
    Button,
    CheckBox,     // value 0 / 1
    OptionButton, // value 0 / 1
    ListBox,      // items; value = selected row or -1
    Frame,        // a group box; controls name it as their parent
    Slider,       // value within minimum..maximum
    UpDown,       // value within minimum..maximum
};

struct Form;
// What a screen reader is told about a dialog-like form whose labels and frames are drawn by
// the form: every label and frame on show with its text, and the controls with windows of
// their own in their places among them.
AccessibleWindow DescribeForm(const Form& form);

struct Control;
// The control's text as the system draws it with the access key underlined: "&" before the
// first letter that is the key (either case), and every "&" of the text doubled to show as itself.
std::string TextWithAccessKey(const Control& c);

struct Control {
    ControlName name;
    int index = 0; // position in a control array; 0 for single controls
    ControlKind kind = ControlKind::Label;
    Rect rect;
    std::string text;
    std::optional<Font> font;         // none: the form's font
    std::optional<Colour> textColour; // none: the system's default text colour
    std::optional<Colour> backColour; // none: transparent
    bool visible = true;
    bool enabled = true;
    bool centred = false;
    bool wrap = false; // labels: break long lines at word boundaries
    // Labels: blank room before the text, as wide as this text in the label's font where it is
    // drawn. A label that continues another's text lines up with it to the pixel at any scale,
    // which a left edge in whole 96-DPI units cannot promise.
    std::string indent;
    int value = 0;
    int minimum = 0;
    int maximum = 0;
    std::vector<std::string> items;
    PicturePtr picture;
    ControlName parent; // the frame that holds it, empty for the form itself
    // The letter that Alt picks it by, underlined in its text; on a label or a frame it picks
    // the next control that takes the focus. 0: none.
    char accessKey = 0;
    std::string tag;
    std::function<void()> onClick;
    std::function<void()> onChange; // after the platform has stored the new value
};

// An item of a form's pop-up menu.
struct MenuItem {
    ControlName name; // mnu_...
    std::string caption;
    std::function<void()> onClick;
};

struct FormStyle {
    bool captionBar = false; // title bar with a close box; otherwise borderless
    bool topmost = false;
    bool toolWindow = true; // no taskbar button
    bool activateOnShow = false;
};

// A form is laid out in 96-DPI units, its own rectangle included, and the platform scales it for
// the monitor its window is on. The rectangle's left and top count from `origin`, a point of the
// screen in the screen's own pixels (the corner of the work area the form was placed in), so that
// a form keeps its place on its monitor whatever the monitor's scale.
struct Form {
    std::string name;
    std::string caption;
    Rect rect; // position from `origin`, and size: the outer size, or the client area's under a caption bar
    Point origin;       // in the screen's pixels
    int dpi = kBaseDpi; // the scale it is laid out for, which the platform keeps at its monitor's
    Colour backColour = Rgb(240, 240, 240);
    PicturePtr background; // drawn stretched over the client area
    Font font;
    FormStyle style;
    std::vector<Control> controls;
    std::vector<MenuItem> popupMenu; // shown by Platform::ShowPopupMenu
    // Forms with a caption bar are worked from the keyboard as dialogs are: Enter clicks the
    // focused button or else the default button, Escape the cancel button or else the close box.
    ControlName defaultButton;
    ControlName cancelButton;

    WindowHandle handle = 0; // set by the platform while the window exists
    bool visible = false;    // kept by the platform

    std::function<void()> onClose;      // the user closed the window (close box, Alt+F4)
    std::function<void(Point)> onMouse; // a click on the form that no control took (client coordinates)
    // What a screen reader is told about a form that draws its contents itself; none: the
    // system's own account of the window and its native controls.
    std::function<AccessibleWindow(const Form&)> accessible;
    // The system's colours or its high-contrast setting changed.
    std::function<void()> onSystemColoursChange;
    // The window came to a monitor of another scale, or its monitor's scale changed: the
    // platform has laid it out again at `dpi` where the system put it, and measured text may
    // need measuring again.
    std::function<void()> onScaleChange;

    Control& Add(Control c) {
        controls.push_back(std::move(c));
        return controls.back();
    }
    Control* Find(ControlName controlName, int index = 0) {
        for (auto& c : controls)
            if (c.name == controlName && c.index == index)
                return &c;
        return nullptr;
    }
    const Control* Find(ControlName controlName, int index = 0) const {
        return const_cast<Form*>(this)->Find(controlName, index);
    }
    Control& At(ControlName controlName, int index = 0);
    const Control& At(ControlName controlName, int index = 0) const {
        return const_cast<Form*>(this)->At(controlName, index);
    }
    MenuItem* FindMenuItem(ControlName itemName) {
        for (auto& m : popupMenu)
            if (m.name == itemName)
                return &m;
        return nullptr;
    }
};

} // namespace tov

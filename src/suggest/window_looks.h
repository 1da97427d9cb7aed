#pragma once
// The colours of the command and suggestion windows: the green artwork, or the system's own
// colours while a high-contrast theme is on, so that the text stays legible whatever the theme.
#include "platform/platform.h"

#include <optional>

namespace tov {

constexpr Colour kIconBoxColour = Rgb(121, 191, 104);

struct CommandWindowLooks {
    Colour back = 0;
    bool artwork = true;         // the background picture over the back colour
    std::optional<Colour> typed; // none: the system's default label colour
    Colour completion = 0;
    std::optional<Colour> description;
    Colour iconBox = 0;
};

struct SuggestionLooks {
    Colour back = 0;
    Colour row = 0;
    Colour nearRow = 0; // a near match's row: quieter, and as legible
    Colour highlight = 0;
    std::optional<Colour> highlightBar; // drawn under the highlighted row; none: the back shows
};

// `highContrast`: the system's colours while a high-contrast theme is on.
CommandWindowLooks CommandWindowLooksFor(const std::optional<SystemColours>& highContrast);
SuggestionLooks SuggestionLooksFor(const std::optional<SystemColours>& highContrast);

} // namespace tov

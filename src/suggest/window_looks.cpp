#include "suggest/window_looks.h"

namespace tov {

namespace {

constexpr Colour kCommandWindowBack = Rgb(236, 246, 232);
constexpr Colour kCompletionColour = Rgb(0x40, 0x40, 0x40);
constexpr Colour kSuggestionBack = 0x404000;
constexpr Colour kRowColour = 0x808080;
constexpr Colour kNearRowColour = Rgb(0x6E, 0x9C, 0x9C);
constexpr Colour kHighlightColour = 0xFFFFFF;

} // namespace

CommandWindowLooks CommandWindowLooksFor(const std::optional<SystemColours>& highContrast) {
    if (!highContrast)
        return {.back = kCommandWindowBack,
                .artwork = true,
                .typed = std::nullopt,
                .completion = kCompletionColour,
                .description = std::nullopt,
                .iconBox = kIconBoxColour};
    const SystemColours& c = *highContrast;
    // The completion shows behind the typed letters, so it takes the theme's other text colour.
    return {.back = c.window,
            .artwork = false,
            .typed = c.windowText,
            .completion = c.grayText,
            .description = c.windowText,
            .iconBox = c.window};
}

SuggestionLooks SuggestionLooksFor(const std::optional<SystemColours>& highContrast) {
    if (!highContrast)
        return {.back = kSuggestionBack,
                .row = kRowColour,
                .nearRow = kNearRowColour,
                .highlight = kHighlightColour,
                .highlightBar = std::nullopt};
    const SystemColours& c = *highContrast;
    // The theme's grey text is made to be read on its window colour.
    return {.back = c.window,
            .row = c.windowText,
            .nearRow = c.grayText,
            .highlight = c.highlightText,
            .highlightBar = c.highlight};
}

} // namespace tov

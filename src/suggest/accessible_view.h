#pragma once
// What a screen reader is told about the command and the suggestion windows, which draw their
// text themselves: read from the forms' own controls, so it always says what is on screen.
#include "platform/forms.h"

#include <string>

namespace tov {

// The command window: the typed line as its value, the best match as its description, and two
// parts, the completion and the description line. A message put in the description line by
// ShowCommandWindowMessage is marked to be announced.
AccessibleWindow DescribeCommandWindow(const Form& frmMain);
// The suggestion window: a list with one item per row, named by its phrase, described by its
// position and the keys it takes ("2 of 7, Enter runs it"), selected when highlighted and
// checked when tacked.
AccessibleWindow DescribeSuggestions(const Form& frmCommandSuggestion);

} // namespace tov

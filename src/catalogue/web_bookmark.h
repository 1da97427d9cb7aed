#pragma once
// Bookmarks kept in a browser's own files, made into command-table entries named as Firefox
// bookmarks have always been: the lower-cased title and the browser's suffix.
#include "catalogue/catalogue.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace tov {

// More than anyone bookmarks; a file that claims more is cut off there.
inline constexpr std::size_t kMostBookmarksPerFile = 50'000;

// Whether an address opens a web page or a message: http, https or mailto (any letter case).
// Everything a bookmark or favourite holds is handed to the shell, which would as soon run a
// program (file:, a network share), a search (search-ms:) or script (javascript:). FTP is left
// out too: browsers no longer open it, so the shell would hand it to whatever claims it.
bool IsWebAddress(std::string_view address);

// The entry for one bookmark, opened in "C:\" as Firefox bookmarks are. The name is the title
// (the address when the title is blank), as valid text with control characters blanked, cut
// to a readable length, lower-cased, then `suffix`; the address stays as written, since
// lower-casing breaks the many sites whose paths are case-sensitive. Nothing when the address
// is no web address (then `skippedLinks` counts it), holds control characters or quotes, or is
// absurdly long.
std::optional<CommandEntry> WebBookmarkEntry(std::string_view title, std::string_view address,
                                             std::string_view suffix, std::size_t* skippedLinks = nullptr);

// Adds the entries, in order, except those whose name and target an entry already in the
// table has (the same bookmark synced into several profiles or roots).
void AddBookmarksOnce(Catalogue& catalogue, std::vector<CommandEntry> entries);

} // namespace tov

#pragma once
// Text as an HTML file writes it: character references stand for the characters they name.
#include <string>
#include <string_view>

namespace tov {

// The text with its character references decoded: the five named ones an export writes
// (&amp; &lt; &gt; &quot; &apos;) and numeric ones (&#39; &#x27;). Anything else, and a
// reference to no character at all (a surrogate, zero, past U+10FFFF), stays as written.
std::string DecodeCharacterReferences(std::string_view text);

} // namespace tov

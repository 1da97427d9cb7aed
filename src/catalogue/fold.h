#pragma once
// Text with accents, letter variants, width and compatibility forms set aside, for comparing
// what the user typed with a name written in another way: "Café Crème" and "cafe creme", "Łódź"
// and "lodz", "ＡＢＣ" and "abc" fold to the same text.
#include <string>
#include <string_view>

namespace tov {

std::string Fold(std::string_view utf8);

} // namespace tov

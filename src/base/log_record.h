#pragma once
// One line of the program's log as it is written: never more than one line, never past the cap.
#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

// `stamp`, a blank and `line`, with line breaks inside made blanks, cut to leave room for the
// CR LF that ends it within `capBytes`.
std::string LogRecord(std::string_view stamp, std::string_view line, std::uint64_t capBytes);

} // namespace tov

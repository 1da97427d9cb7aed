#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tov {

// Characters of the notification icon record's tip field (NOTIFYICONDATAW::szTip), NUL included.
constexpr std::size_t kTrayTipCapacity = 128;

// The tip as the record holds it: UTF-16, cut to leave room for the NUL, never in the middle
// of a surrogate pair.
std::u16string TrayTipText(std::string_view utf8, std::size_t capacity = kTrayTipCapacity);

} // namespace tov

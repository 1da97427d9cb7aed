#pragma once
#include <type_traits>

namespace tov {

// Scoped enums whose values combine as bits say so by setting this for themselves.
template <typename Enum> inline constexpr bool kIsFlagSet = false;

template <typename Enum>
requires kIsFlagSet<Enum>
constexpr Enum operator|(Enum a, Enum b) {
    using Bits = std::underlying_type_t<Enum>;
    return static_cast<Enum>(static_cast<Bits>(a) | static_cast<Bits>(b));
}

// True when every bit of `flag` is set in `set`.
template <typename Enum>
requires kIsFlagSet<Enum>
constexpr bool HasFlag(Enum set, Enum flag) {
    using Bits = std::underlying_type_t<Enum>;
    return (static_cast<Bits>(set) & static_cast<Bits>(flag)) == static_cast<Bits>(flag);
}

} // namespace tov

#include "platform/win32/win32_platform.h"

namespace tov {

namespace {

constexpr int kSeparatorCapacity = 4; // the system allows three characters and the NUL
constexpr const char* kDefaultSeparator = ".";

} // namespace

std::string Win32Platform::DecimalSeparator() {
    wchar_t separator[kSeparatorCapacity] = {};
    const int length =
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, kSeparatorCapacity);
    if (length <= 1)
        return kDefaultSeparator;
    return win32::Narrow(std::wstring_view(separator, static_cast<std::size_t>(length - 1)));
}

} // namespace tov

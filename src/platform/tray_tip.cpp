#include "platform/tray_tip.h"

#include "base/text.h"

namespace tov {

std::u16string TrayTipText(std::string_view utf8, std::size_t capacity) {
    std::u16string tip = Utf8ToUtf16(utf8);
    if (capacity == 0)
        return {};
    if (tip.size() >= capacity) {
        tip.resize(capacity - 1);
        const char16_t last = tip.empty() ? 0 : tip.back();
        if (last >= 0xD800 && last <= 0xDBFF)
            tip.pop_back();
    }
    return tip;
}

} // namespace tov

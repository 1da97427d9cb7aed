#include "platform/win32/win32_platform.h"

#include <cstring>

namespace tov {

namespace {

// A clipboard viewer or manager holds the clipboard open for a moment after each change.
constexpr int kOpenTries = 5;
constexpr DWORD kOpenRetryMs = 10;

struct GlobalTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static void Close(HGLOBAL h) { GlobalFree(h); }
};
using UniqueGlobal = win32::Unique<HGLOBAL, GlobalTraits>;

class OpenedClipboard {
  public:
    explicit OpenedClipboard(HWND owner) {
        for (int i = 0; i < kOpenTries && !open_; ++i) {
            open_ = OpenClipboard(owner) != FALSE;
            if (!open_)
                Sleep(kOpenRetryMs);
        }
    }
    ~OpenedClipboard() {
        if (open_)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return open_; }

  private:
    bool open_ = false;
};

} // namespace

bool Win32Platform::SetClipboardText(const std::string& text) {
    const std::wstring wide = win32::Wide(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        return false;
    void* at = GlobalLock(memory.Get());
    if (!at)
        return false;
    std::memcpy(at, wide.c_str(), bytes);
    GlobalUnlock(memory.Get());
    // The clipboard's owner must be a window, or the data put there is refused.
    const OpenedClipboard clipboard(serviceWindow_.Get());
    if (!clipboard || !EmptyClipboard())
        return false;
    if (!SetClipboardData(CF_UNICODETEXT, memory.Get()))
        return false;
    memory.Release(); // the clipboard owns it now
    return true;
}

} // namespace tov

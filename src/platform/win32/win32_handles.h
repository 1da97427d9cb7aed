#pragma once
// Owners for the Windows handles the platform keeps.
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

namespace tov::win32 {

template <typename H, typename Traits> class Unique {
  public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o)
            Reset(std::exchange(o.h_, Traits::Invalid()));
        return *this;
    }
    ~Unique() { Reset(); }
    H Get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    H Release() { return std::exchange(h_, Traits::Invalid()); }
    void Reset(H h = Traits::Invalid()) {
        if (h_ != Traits::Invalid())
            Traits::Close(h_);
        h_ = h;
    }

  private:
    H h_ = Traits::Invalid();
};

struct HandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct KeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct HookTraits {
    static HHOOK Invalid() { return nullptr; }
    static void Close(HHOOK h) { UnhookWindowsHookEx(h); }
};
struct WindowTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) { DestroyWindow(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};
struct GdiTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { DestroyMenu(h); }
};

using UniqueHandle = Unique<HANDLE, HandleTraits>;
using UniqueKey = Unique<HKEY, KeyTraits>;
using UniqueHook = Unique<HHOOK, HookTraits>;
using UniqueWindow = Unique<HWND, WindowTraits>;
using UniqueIcon = Unique<HICON, IconTraits>;
using UniqueGdiObject = Unique<HGDIOBJ, GdiTraits>;
using UniqueMenu = Unique<HMENU, MenuTraits>;

// A device context borrowed with GetDC, given back on scope exit.
class ScreenDc {
  public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_)
            ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

// Wide strings for the W functions.
std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

} // namespace tov::win32

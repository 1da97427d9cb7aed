#pragma once
// COM for the calling thread, for as long as a ComScope is in scope.
#include <windows.h>

#include <objbase.h>

namespace tov::win32 {

class ComScope {
  public:
    ComScope()
        : initialised_(
              SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComScope() {
        if (initialised_)
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool initialised_;
};

} // namespace tov::win32

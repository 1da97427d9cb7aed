// Shortcut files written through the Windows Script Host's shell object, driven by name.
#include "platform/files.h"
#include "platform/win32/win32_platform.h"

#include <objbase.h>
#include <oleauto.h>

#include <utility>

namespace tov {

namespace {

constexpr const char* kShortcutExtension = ".lnk";

// COM for the calling thread, for as long as it is in scope.
class ComApartment {
  public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    // A thread already in another apartment can still make the calls.
    bool Usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

  private:
    HRESULT hr_;
};

class Dispatch {
  public:
    Dispatch() = default;
    explicit Dispatch(IDispatch* p) : p_(p) {}
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;
    ~Dispatch() {
        if (p_)
            p_->Release();
    }
    IDispatch* Get() const { return p_; }
    IDispatch** Out() { return &p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    IDispatch* p_ = nullptr;
};

class Variant {
  public:
    Variant() { VariantInit(&v_); }
    explicit Variant(const std::wstring& text) {
        VariantInit(&v_);
        v_.vt = VT_BSTR;
        v_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    explicit Variant(int number) {
        VariantInit(&v_);
        v_.vt = VT_I4;
        v_.lVal = number;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v_); }
    VARIANT* Get() { return &v_; }
    bool Valid() const { return v_.vt != VT_BSTR || v_.bstrVal != nullptr; }

  private:
    VARIANT v_;
};

// Invoke fills these on DISP_E_EXCEPTION; they are ours to free.
struct ExceptionInfo : EXCEPINFO {
    ExceptionInfo() : EXCEPINFO{} {}
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;
    ~ExceptionInfo() {
        SysFreeString(bstrSource);
        SysFreeString(bstrDescription);
        SysFreeString(bstrHelpFile);
    }
};

bool Invoke(IDispatch* object, const wchar_t* member, WORD kind, Variant* argument, VARIANT* result) {
    LPOLESTR name = const_cast<LPOLESTR>(member);
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)))
        return false;
    DISPPARAMS params{};
    DISPID named = DISPID_PROPERTYPUT;
    if (argument) {
        if (!argument->Valid())
            return false;
        params.rgvarg = argument->Get();
        params.cArgs = 1;
    }
    if (kind == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    ExceptionInfo exception;
    UINT badArgument = 0;
    return SUCCEEDED(
        object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &exception, &badArgument));
}

bool Put(IDispatch* object, const wchar_t* property, Variant value) {
    return Invoke(object, property, DISPATCH_PROPERTYPUT, &value, nullptr);
}

// Writes the shortcut at `path`, which must end in ".lnk" for the shell object to accept it.
bool SaveShortcut(const std::wstring& path, const ShortcutRequest& request) {
    ComApartment apartment;
    if (!apartment.Usable())
        return false;
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(L"WScript.Shell", &clsid)))
        return false;
    Dispatch shell;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(shell.Out()))))
        return false;
    Variant linkPath(path);
    Variant created;
    if (!Invoke(shell.Get(), L"CreateShortcut", DISPATCH_METHOD, &linkPath, created.Get()) ||
        created.Get()->vt != VT_DISPATCH || !created.Get()->pdispVal)
        return false;
    IDispatch* link = created.Get()->pdispVal;
    const std::wstring target = win32::Wide(request.targetPath);
    return Put(link, L"TargetPath", Variant(target)) &&
           Put(link, L"WorkingDirectory", Variant(win32::Wide(request.workingDirectory))) &&
           Put(link, L"WindowStyle", Variant(request.windowStyle)) &&
           Put(link, L"IconLocation", Variant(target + L"," + std::to_wstring(request.iconIndex))) &&
           Invoke(link, L"Save", DISPATCH_METHOD, nullptr, nullptr);
}

} // namespace

bool Win32Platform::CreateShortcut(const ShortcutRequest& request) {
    if (request.folder.empty() || request.name.empty())
        return false;
    // Saved outside the target folder first: any .lnk left in the Startup folder would start
    // the program at every log-on, so only the finished shortcut may ever appear there, and an
    // existing one is replaced only by a whole new one. The user's temporary folder holds it.
    std::string failure;
    const bool saved = SaveThroughStaging(
        TemporaryFolder(), JoinPath(request.folder, request.name + kShortcutExtension), kShortcutExtension,
        [&](const std::string& staged) { return SaveShortcut(win32::Wide(staged), request); }, &failure);
    if (!saved)
        Log("shortcut " + request.name + ": not saved (" + failure + ")");
    return saved;
}

} // namespace tov

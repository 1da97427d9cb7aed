// The standard open-file dialog and the shell's folder browser.
#include "platform/win32/win32_platform.h"

#include <commdlg.h>
#include <shlobj.h>

#include <memory>

namespace tov {

namespace {

// Long enough for any path the shell hands out, with room for the terminating zeros.
constexpr DWORD kPathBufferLength = 32768;

struct CoTaskMemDeleter {
    void operator()(void* p) const { CoTaskMemFree(p); }
};
using UniqueIdList = std::unique_ptr<ITEMIDLIST, CoTaskMemDeleter>;

// COM for the calling thread, for as long as a dialog needs it.
class ComApartment {
  public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    // A thread that runs another kind of apartment still gets the dialog, in its old style.
    bool Ready() const { return SUCCEEDED(hr_); }

  private:
    HRESULT hr_;
};

// "*.exe" becomes the pair "*.exe\0*.exe\0" that the dialog reads, ended by a second zero.
std::wstring FilterPairs(const std::string& pattern) {
    const std::wstring wide = win32::Wide(pattern);
    std::wstring pairs = wide;
    pairs.push_back(L'\0');
    pairs += wide;
    pairs.push_back(L'\0');
    pairs.push_back(L'\0');
    return pairs;
}

} // namespace

std::optional<std::string> Win32Platform::ChooseOpenFile(WindowHandle owner, const OpenFileRequest& request) {
    std::wstring file(kPathBufferLength, L'\0');
    const std::wstring title = win32::Wide(request.title);
    const std::wstring folder = win32::Wide(request.initialFolder);
    std::wstring extension = win32::Wide(request.defaultExtension);
    if (!extension.empty() && extension.front() == L'.')
        extension.erase(0, 1);
    const std::wstring filter = request.filter.empty() ? std::wstring() : FilterPairs(request.filter);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = reinterpret_cast<HWND>(owner);
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kPathBufferLength;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // The working folder stays where it was: the program opens files by full path only.
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn))
        return std::nullopt; // cancelled, or the dialog failed (CommDlgExtendedError): no path either way
    file.resize(wcsnlen(file.c_str(), file.size()));
    if (file.empty())
        return std::nullopt;
    return win32::Narrow(file);
}

std::optional<std::string> Win32Platform::ChooseFolder(WindowHandle owner, const std::string& title) {
    ComApartment com;
    const std::wstring prompt = win32::Wide(title);
    BROWSEINFOW info{};
    info.hwndOwner = reinterpret_cast<HWND>(owner);
    info.lpszTitle = prompt.c_str();
    // The edit box lets a path be typed or pasted instead of found in the tree.
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | (com.Ready() ? BIF_NEWDIALOGSTYLE : 0);
    UniqueIdList chosen(SHBrowseForFolderW(&info));
    if (!chosen)
        return std::nullopt;
    std::wstring path(kPathBufferLength, L'\0');
    if (!SHGetPathFromIDListEx(chosen.get(), path.data(), kPathBufferLength, GPFIDL_DEFAULT))
        return std::nullopt; // a place without a file-system path (Control Panel and the like)
    path.resize(wcsnlen(path.c_str(), path.size()));
    if (path.empty())
        return std::nullopt;
    return win32::Narrow(path);
}

} // namespace tov

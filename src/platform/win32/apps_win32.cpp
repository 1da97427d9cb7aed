// The shell's Applications folder, listed through its shell item.
#include "platform/win32/win32_com.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <memory>

namespace tov {

namespace {

using Microsoft::WRL::ComPtr;

// Far more than any machine has installed; a folder that keeps giving items is cut off here.
constexpr std::size_t kMostApps = 10'000;

struct TaskMemoryFree {
    void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};

std::string ItemName(IShellItem& item, SIGDN kind) {
    wchar_t* text = nullptr;
    if (FAILED(item.GetDisplayName(kind, &text)) || !text)
        return {};
    const std::unique_ptr<wchar_t, TaskMemoryFree> owned(text);
    return win32::Narrow(owned.get());
}

} // namespace

std::vector<InstalledApp> Win32Platform::ListInstalledApps() {
    std::vector<InstalledApp> apps;
    const win32::ComScope com;
    ComPtr<IShellItem> folder;
    if (FAILED(SHGetKnownFolderItem(FOLDERID_AppsFolder, KF_FLAG_DEFAULT, nullptr, IID_PPV_ARGS(&folder))))
        return apps;
    ComPtr<IEnumShellItems> items;
    if (FAILED(folder->BindToHandler(nullptr, BHID_EnumItems, IID_PPV_ARGS(&items))))
        return apps;
    while (apps.size() < kMostApps) {
        ComPtr<IShellItem> item;
        if (items->Next(1, &item, nullptr) != S_OK || !item)
            break;
        InstalledApp app{ItemName(*item.Get(), SIGDN_NORMALDISPLAY),
                         ItemName(*item.Get(), SIGDN_PARENTRELATIVEPARSING)};
        if (!app.name.empty() && !app.appUserModelId.empty())
            apps.push_back(std::move(app));
    }
    return apps;
}

} // namespace tov

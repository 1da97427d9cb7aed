#include "platform/win32/dpi_win32.h"

#include "ui/window_values.h"

#include "platform/win32/win32_handles.h"

#include <algorithm>

namespace tov::win32 {

namespace {

// MONITOR_DPI_TYPE's MDT_EFFECTIVE_DPI and PROCESS_DPI_AWARENESS's values.
constexpr int kEffectiveDpi = 0;
constexpr int kSystemAware = 1;
constexpr int kPerMonitorAware = 2;

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetProcessDpiAwarenessFunction = HRESULT(WINAPI*)(HANDLE, int*);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using GetThreadDpiAwarenessContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)();
using AreDpiAwarenessContextsEqualFunction = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);

template <typename Function> Function Find(HMODULE module, const char* name) {
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// Looked up once; the process's awareness is fixed by its manifest before it runs.
struct DpiFunctions {
    GetDpiForWindowFunction dpiForWindow = nullptr;
    GetDpiForMonitorFunction dpiForMonitor = nullptr;
    AdjustWindowRectExForDpiFunction adjustForDpi = nullptr;
    GetSystemMetricsForDpiFunction metricsForDpi = nullptr;
    bool perMonitor = false;
    ScaleAwareness awareness = ScaleAwareness::Unaware;
    int systemDpi = kBaseDpi;

    DpiFunctions() {
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        dpiForWindow = Find<GetDpiForWindowFunction>(user32, "GetDpiForWindow");
        adjustForDpi = Find<AdjustWindowRectExForDpiFunction>(user32, "AdjustWindowRectExForDpi");
        metricsForDpi = Find<GetSystemMetricsForDpiFunction>(user32, "GetSystemMetricsForDpi");
        // shcore.dll stays loaded for the process's life; it came with Windows 8.1.
        const HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        dpiForMonitor = Find<GetDpiForMonitorFunction>(shcore, "GetDpiForMonitor");
        awareness = IsProcessDPIAware() ? ScaleAwareness::System : ScaleAwareness::Unaware;
        int processAwareness = 0;
        if (const auto readAwareness = Find<GetProcessDpiAwarenessFunction>(shcore, "GetProcessDpiAwareness");
            readAwareness && readAwareness(nullptr, &processAwareness) == S_OK) {
            perMonitor = processAwareness == kPerMonitorAware;
            awareness = perMonitor                         ? ScaleAwareness::PerMonitor
                        : processAwareness == kSystemAware ? ScaleAwareness::System
                                                           : ScaleAwareness::Unaware;
        }
        // Version 2 (Windows 10 1703) is told apart only by the context the thread runs in.
        const auto threadContext =
            Find<GetThreadDpiAwarenessContextFunction>(user32, "GetThreadDpiAwarenessContext");
        const auto sameContext =
            Find<AreDpiAwarenessContextsEqualFunction>(user32, "AreDpiAwarenessContextsEqual");
        if (perMonitor && threadContext && sameContext &&
            sameContext(threadContext(), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
            awareness = ScaleAwareness::PerMonitorV2;
        ScreenDc dc;
        if (dc.Get())
            systemDpi = GetDeviceCaps(dc.Get(), LOGPIXELSY);
        if (systemDpi <= 0)
            systemDpi = kBaseDpi;
    }
};

const DpiFunctions& Functions() {
    static const DpiFunctions functions;
    return functions;
}

BOOL CALLBACK CollectDpi(HMONITOR monitor, HDC, RECT*, LPARAM found) noexcept {
    try {
        auto& dpis = *reinterpret_cast<std::vector<int>*>(found);
        const int dpi = MonitorDpi(monitor);
        if (std::find(dpis.begin(), dpis.end(), dpi) == dpis.end())
            dpis.push_back(dpi);
        return TRUE;
    } catch (...) {
        return FALSE; // out of memory: the scales found so far serve
    }
}

} // namespace

ScaleAwareness ProcessScaleAwareness() {
    return Functions().awareness;
}

int SystemDpi() {
    return Functions().systemDpi;
}

int MonitorDpi(HMONITOR monitor) {
    const DpiFunctions& f = Functions();
    UINT x = 0;
    UINT y = 0;
    if (f.perMonitor && f.dpiForMonitor && monitor &&
        f.dpiForMonitor(monitor, kEffectiveDpi, &x, &y) == S_OK && y > 0)
        return static_cast<int>(y);
    return f.systemDpi;
}

std::vector<int> MonitorDpis() {
    std::vector<int> dpis;
    EnumDisplayMonitors(nullptr, nullptr, CollectDpi, reinterpret_cast<LPARAM>(&dpis));
    if (dpis.empty())
        dpis.push_back(SystemDpi());
    return dpis;
}

int WindowDpi(HWND window) {
    const DpiFunctions& f = Functions();
    if (f.perMonitor && f.dpiForWindow && window)
        if (const UINT dpi = f.dpiForWindow(window); dpi > 0)
            return static_cast<int>(dpi);
    return f.perMonitor ? MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) : f.systemDpi;
}

SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, int dpi) {
    RECT r{0, 0, client.cx, client.cy};
    const DpiFunctions& f = Functions();
    if (!(f.adjustForDpi && f.adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi))))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int MetricForDpi(int index, int dpi) {
    const DpiFunctions& f = Functions();
    if (f.metricsForDpi)
        return f.metricsForDpi(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, f.systemDpi);
}

} // namespace tov::win32

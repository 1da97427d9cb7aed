// Reads a window as a screen reader does, through Microsoft Active Accessibility, and prints
// what it finds one "key=value" line at a time (UTF-8), so that a script can grep for it:
//
//   read_accessible.exe command            Tovlen's command window
//   read_accessible.exe suggestion         Tovlen's suggestion window
//   read_accessible.exe title TEXT         the first visible top-level window whose title contains TEXT
//
// Output: name, value, role, state, description and children=N of the window's client object,
// then for each child K the same keys as childK.name=... and so on. Exits with 1 when no such
// window is on screen and 2 when the window gives no accessible object.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kFormClass[] = L"TovlenForm";

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr,
                            nullptr);
    return out;
}

// Line breaks would split a value over lines that a script reads one by one.
std::string OneLine(const std::wstring& text) {
    std::wstring flat;
    for (wchar_t c : text)
        flat += (c == L'\r' || c == L'\n') ? L' ' : c;
    return Utf8(flat);
}

std::wstring Take(BSTR text) {
    std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return out;
}

VARIANT Child(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string RoleText(IAccessible* object, const VARIANT& child) {
    VARIANT role;
    VariantInit(&role);
    if (FAILED(object->get_accRole(child, &role)) || role.vt != VT_I4)
        return {};
    wchar_t text[128] = {};
    GetRoleTextW(static_cast<DWORD>(role.lVal), text, static_cast<UINT>(std::size(text)));
    return Utf8(text);
}

std::string StateText(IAccessible* object, const VARIANT& child) {
    VARIANT state;
    VariantInit(&state);
    if (FAILED(object->get_accState(child, &state)) || state.vt != VT_I4)
        return {};
    struct Flag {
        LONG bit;
        const char* name;
    };
    constexpr Flag kFlags[] = {
        {STATE_SYSTEM_UNAVAILABLE, "unavailable"}, {STATE_SYSTEM_SELECTED, "selected"},
        {STATE_SYSTEM_FOCUSED, "focused"},         {STATE_SYSTEM_CHECKED, "checked"},
        {STATE_SYSTEM_READONLY, "readonly"},       {STATE_SYSTEM_INVISIBLE, "invisible"},
        {STATE_SYSTEM_OFFSCREEN, "offscreen"},     {STATE_SYSTEM_FOCUSABLE, "focusable"},
        {STATE_SYSTEM_SELECTABLE, "selectable"},   {STATE_SYSTEM_DEFAULT, "default"},
    };
    std::string out;
    for (const Flag& flag : kFlags)
        if (state.lVal & flag.bit)
            out += (out.empty() ? "" : ",") + std::string(flag.name);
    return out;
}

void PrintObject(IAccessible* object, const VARIANT& child, const std::string& prefix) {
    BSTR text = nullptr;
    std::printf("%sname=%s\n", prefix.c_str(),
                OneLine(SUCCEEDED(object->get_accName(child, &text)) ? Take(text) : L"").c_str());
    text = nullptr;
    std::printf("%svalue=%s\n", prefix.c_str(),
                OneLine(SUCCEEDED(object->get_accValue(child, &text)) ? Take(text) : L"").c_str());
    std::printf("%srole=%s\n", prefix.c_str(), RoleText(object, child).c_str());
    std::printf("%sstate=%s\n", prefix.c_str(), StateText(object, child).c_str());
    text = nullptr;
    std::printf("%sdescription=%s\n", prefix.c_str(),
                OneLine(SUCCEEDED(object->get_accDescription(child, &text)) ? Take(text) : L"").c_str());
}

void PrintChildren(IAccessible* object) {
    LONG count = 0;
    if (FAILED(object->get_accChildCount(&count)) || count < 0)
        count = 0;
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    LONG got = 0;
    if (count > 0 && FAILED(AccessibleChildren(object, 0, count, children.data(), &got)))
        got = 0;
    std::printf("children=%ld\n", got);
    for (LONG i = 0; i < got; ++i) {
        VARIANT& v = children[static_cast<std::size_t>(i)];
        const std::string prefix = "child" + std::to_string(i + 1) + ".";
        if (v.vt == VT_DISPATCH && v.pdispVal) {
            IAccessible* inner = nullptr;
            if (SUCCEEDED(
                    v.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&inner)))) {
                PrintObject(inner, Child(CHILDID_SELF), prefix);
                inner->Release();
            }
        } else if (v.vt == VT_I4) {
            PrintObject(object, v, prefix);
        }
        VariantClear(&v);
    }
}

IAccessible* ClientObject(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

LONG RoleOf(IAccessible* object) {
    VARIANT role;
    VariantInit(&role);
    if (FAILED(object->get_accRole(Child(CHILDID_SELF), &role)) || role.vt != VT_I4)
        return 0;
    return role.lVal;
}

struct Search {
    LONG role = 0;      // Tovlen's windows are told apart by the role they expose
    std::wstring title; // otherwise by their title
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window))
        return TRUE;
    if (search.role == 0) {
        const int length = GetWindowTextLengthW(window);
        std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
        title.resize(static_cast<std::size_t>(GetWindowTextW(window, title.data(), length + 1)));
        if (title.find(search.title) == std::wstring::npos)
            return TRUE;
        search.found = window;
        return FALSE;
    }
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, static_cast<int>(std::size(cls)));
    if (std::wstring(cls) != kFormClass)
        return TRUE;
    if (IAccessible* object = ClientObject(window)) {
        const bool match = RoleOf(object) == search.role;
        object->Release();
        if (match) {
            search.found = window;
            return FALSE;
        }
    }
    return TRUE;
}

int Usage() {
    std::fprintf(stderr, "usage: read_accessible command | suggestion | title TEXT\n");
    return 64;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return Usage();
    Search search;
    const std::wstring what = argv[1];
    if (what == L"command")
        search.role = ROLE_SYSTEM_COMBOBOX;
    else if (what == L"suggestion")
        search.role = ROLE_SYSTEM_LIST;
    else if (what == L"title" && argc > 2)
        search.title = argv[2];
    else
        return Usage();

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    int status = 1;
    if (search.found) {
        status = 2;
        if (IAccessible* object = ClientObject(search.found)) {
            PrintObject(object, Child(CHILDID_SELF), "");
            PrintChildren(object);
            object->Release();
            status = 0;
        }
    }
    std::fflush(stdout);
    CoUninitialize();
    return status;
}

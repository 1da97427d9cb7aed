// Test helper for the Wine runs of the update check, one program with several jobs:
//   update_helper messages            prints each visible message box as "title<TAB>text" (UTF-8)
//   update_helper dismiss             the same, and presses OK on each
//   update_helper trust CERT.der      adds a certificate to the machine's trusted roots
//   update_helper <anything else>     stands in for an installer: writes its command line and
//                                     working folder to C:\installer-ran.txt
#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>
// After windows.h, whose types it uses.
#include <wincrypt.h>

namespace {

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return text;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
    auto& text = *reinterpret_cast<std::wstring*>(param);
    if (lstrcmpiW(ClassOf(child).c_str(), L"Static") == 0) {
        const std::wstring piece = TextOf(child);
        if (!piece.empty())
            text += (text.empty() ? L"" : L" ") + piece;
    }
    return TRUE;
}

BOOL CALLBACK ReportMessageBox(HWND window, LPARAM dismiss) {
    if (ClassOf(window) != L"#32770" || !IsWindowVisible(window))
        return TRUE;
    std::wstring text;
    EnumChildWindows(window, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    std::printf("%s\t%s\n", Utf8(TextOf(window)).c_str(), Utf8(text).c_str());
    if (dismiss)
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

int Trust(const char* file) {
    FILE* f = std::fopen(file, "rb");
    if (!f)
        return 1;
    std::vector<BYTE> der;
    for (int c; (c = std::fgetc(f)) != EOF;)
        der.push_back(static_cast<BYTE>(c));
    std::fclose(f);
    HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!root)
        return 1;
    const BOOL added =
        CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                         CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    CertCloseStore(root, 0);
    return added ? 0 : 1;
}

int RecordStart() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    FILE* f = _wfopen(L"C:\\installer-ran.txt", L"wb");
    if (!f)
        return 1;
    std::fprintf(f, "%s\n%s\n", Utf8(GetCommandLineW()).c_str(), Utf8(folder).c_str());
    std::fclose(f);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string job = argc > 1 ? argv[1] : "";
    if (job == "messages" || job == "dismiss") {
        EnumWindows(ReportMessageBox, job == "dismiss");
        return 0;
    }
    if (job == "trust" && argc > 2)
        return Trust(argv[2]);
    return RecordStart();
}

#include "platform/text.h"
#include "platform/win32/win32_platform.h"

#include <vector>
#include <windows.h>
#include <wininet.h>
// windows.h first: the trust headers build on its types.
#include <softpub.h>
#include <wintrust.h>

namespace tov {

namespace {

std::wstring Wide(const std::string& s) {
    const std::u16string w = Utf8ToUtf16(s);
    return std::wstring(w.begin(), w.end());
}

std::wstring OwnExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

// The verification state that WinVerifyTrust keeps between its verify and close calls.
class TrustState {
  public:
    TrustState(GUID action, WINTRUST_DATA& data) : action_(action), data_(data) {}
    ~TrustState() {
        data_.dwStateAction = WTD_STATEACTION_CLOSE;
        WinVerifyTrust(nullptr, &action_, &data_);
    }
    TrustState(const TrustState&) = delete;
    TrustState& operator=(const TrustState&) = delete;

  private:
    GUID action_;
    WINTRUST_DATA& data_;
};

// Some implementations of the trust provider accept a signature whatever its certificate
// chains to; asking the chain policy as well refuses a signer that no trusted root vouches for.
bool SignerChainIsTrusted(HANDLE stateData) {
    CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(stateData);
    if (!provider)
        return false;
    CRYPT_PROVIDER_SGNR* signer = WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
    if (!signer || !signer->pChainContext)
        return false;
    CERT_CHAIN_POLICY_PARA para{};
    para.cbSize = sizeof para;
    // The code-signing purpose is the trust provider's own check; this one is about the root.
    para.dwFlags = CERT_CHAIN_POLICY_IGNORE_WRONG_USAGE_FLAG;
    CERT_CHAIN_POLICY_STATUS policy{};
    policy.cbSize = sizeof policy;
    return CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_BASE, signer->pChainContext, &para, &policy) &&
           policy.dwError == 0;
}

} // namespace

bool Win32Platform::InternetConnected() {
    DWORD connection = 0; // how it is connected, which nothing needs
    return InternetGetConnectedState(&connection, 0) != FALSE;
}

std::optional<VersionNumber> Win32Platform::ProgramVersion() {
    const std::wstring path = OwnExecutablePath();
    if (path.empty())
        return std::nullopt;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<BYTE> info(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data()))
        return std::nullopt;
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\", &block, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
    if (fixed->dwSignature != VS_FFI_SIGNATURE)
        return std::nullopt;
    return VersionNumber{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                         HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
}

bool Win32Platform::VerifyFileSignature(const std::string& path) {
    const std::wstring file = Wide(path);
    WINTRUST_FILE_INFO fileInfo{};
    fileInfo.cbStruct = sizeof fileInfo;
    fileInfo.pcwszFilePath = file.c_str();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG status = WinVerifyTrust(nullptr, &action, &data);
    const TrustState state(action, data);
    return status == ERROR_SUCCESS && SignerChainIsTrusted(data.hWVTStateData);
}

} // namespace tov

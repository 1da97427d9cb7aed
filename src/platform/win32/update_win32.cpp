#include "base/certificate_key.h"
#include "platform/win32/win32_platform.h"

#include <algorithm>
#include <cstdint>
#include <vector>
#include <windows.h>
#include <wininet.h>
// windows.h first: the trust headers build on its types.
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

namespace tov {

namespace {

constexpr wchar_t kKeyHashAlgorithm[] = L"SHA256";
constexpr DWORD kKeyHashBytes = 32;

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

class Win32HeldFile : public HeldFile {
  public:
    Win32HeldFile(std::string path, HANDLE handle) : path_(std::move(path)), handle_(handle) {}
    const std::string& Path() const override { return path_; }
    HANDLE Handle() const { return handle_.Get(); }

  private:
    std::string path_;
    win32::UniqueHandle handle_;
};

struct ViewTraits {
    static const void* Invalid() { return nullptr; }
    static void Close(const void* view) { UnmapViewOfFile(view); }
};
using UniqueView = win32::Unique<const void*, ViewTraits>;

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

CRYPT_PROVIDER_SGNR* Signer(HANDLE stateData) {
    CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(stateData);
    return provider ? WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
}

// Some implementations of the trust provider accept a signature whatever its certificate
// chains to; asking the chain policy as well refuses a signer that no trusted root vouches for.
bool SignerChainIsTrusted(CRYPT_PROVIDER_SGNR& signer) {
    if (!signer.pChainContext)
        return false;
    CERT_CHAIN_POLICY_PARA para{};
    para.cbSize = sizeof para;
    // The code-signing purpose is the trust provider's own check; this one is about the root.
    para.dwFlags = CERT_CHAIN_POLICY_IGNORE_WRONG_USAGE_FLAG;
    CERT_CHAIN_POLICY_STATUS policy{};
    policy.cbSize = sizeof policy;
    return CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_BASE, signer.pChainContext, &para, &policy) &&
           policy.dwError == 0;
}

// The hash of the signing certificate's public key, over the DER bytes it has in the certificate.
std::string SignerKeyHash(CRYPT_PROVIDER_SGNR& signer) {
    CRYPT_PROVIDER_CERT* certificate = WTHelperGetProvCertFromChain(&signer, 0);
    if (!certificate || !certificate->pCert)
        return {};
    const CERT_CONTEXT& context = *certificate->pCert;
    const auto key = SubjectPublicKeyInfo(
        std::string_view(reinterpret_cast<const char*>(context.pbCertEncoded), context.cbCertEncoded));
    if (!key)
        return {};
    BYTE digest[kKeyHashBytes] = {};
    DWORD size = sizeof digest;
    if (!CryptHashCertificate2(kKeyHashAlgorithm, 0, nullptr, reinterpret_cast<const BYTE*>(key->data()),
                               static_cast<DWORD>(key->size()), digest, &size))
        return {};
    return LowerHex(std::string_view(reinterpret_cast<const char*>(digest), size));
}

bool RewindFile(HANDLE file) {
    LARGE_INTEGER start{};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) != 0;
}

struct TrustAnswer {
    LONG status = TRUST_E_NOSIGNATURE;
    std::string signerKeyHash;
};

// One verification through the held handle. Success also needs a trusted chain and a signer
// whose key can be named.
TrustAnswer VerifyTrust(const Win32HeldFile& file, DWORD revocationChecks) {
    TrustAnswer answer;
    if (!RewindFile(file.Handle()))
        return answer;
    const std::wstring path = win32::Wide(file.Path());
    WINTRUST_FILE_INFO fileInfo{};
    fileInfo.cbStruct = sizeof fileInfo;
    fileInfo.pcwszFilePath = path.c_str();
    fileInfo.hFile = file.Handle();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = revocationChecks;
    if (revocationChecks == WTD_REVOKE_WHOLECHAIN)
        data.dwProvFlags = WTD_REVOCATION_CHECK_CHAIN;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    answer.status = WinVerifyTrust(nullptr, &action, &data);
    const TrustState state(action, data);
    if (answer.status != ERROR_SUCCESS)
        return answer;
    CRYPT_PROVIDER_SGNR* signer = Signer(data.hWVTStateData);
    if (!signer || !SignerChainIsTrusted(*signer)) {
        answer.status = CERT_E_UNTRUSTEDROOT;
        return answer;
    }
    answer.signerKeyHash = SignerKeyHash(*signer);
    if (answer.signerKeyHash.empty())
        answer.status = TRUST_E_NOSIGNATURE;
    return answer;
}

bool IsRevoked(LONG status) {
    return status == CRYPT_E_REVOKED || status == CERT_E_REVOKED;
}

// No answer from the revocation servers, or no way to ask them.
bool RevocationUnknown(LONG status) {
    return status == CERT_E_REVOCATION_FAILURE || status == CRYPT_E_NO_REVOCATION_CHECK ||
           status == CRYPT_E_REVOCATION_OFFLINE;
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

HeldFilePtr Win32Platform::HoldFile(const std::string& path) {
    // Others may read it (the system does, to start it) but not change, rename or delete it.
    const HANDLE file = CreateFileW(win32::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    auto held = std::make_unique<Win32HeldFile>(path, file);
    if (GetFileType(file) != FILE_TYPE_DISK)
        return nullptr;
    return held;
}

SignatureCheck Win32Platform::VerifySignature(HeldFile& file) {
    const auto& held = static_cast<const Win32HeldFile&>(file);
    SignatureCheck check;
    TrustAnswer answer = VerifyTrust(held, WTD_REVOKE_WHOLECHAIN);
    if (answer.status == ERROR_SUCCESS) {
        check.verdict = SignatureVerdict::Trusted;
    } else if (IsRevoked(answer.status)) {
        check.verdict = SignatureVerdict::Revoked;
    } else if (RevocationUnknown(answer.status)) {
        // Everything else must still hold, so the signature is checked again without revocation.
        answer = VerifyTrust(held, WTD_REVOKE_NONE);
        if (answer.status == ERROR_SUCCESS)
            check.verdict = SignatureVerdict::TrustedRevocationUnknown;
    }
    if (check.verdict != SignatureVerdict::Refused)
        check.signerKeyHash = std::move(answer.signerKeyHash);
    return check;
}

std::optional<std::string> Win32Platform::ReadHeldFile(HeldFile& file, std::uint64_t limit) {
    const HANDLE handle = static_cast<const Win32HeldFile&>(file).Handle();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle, &size) || size.QuadPart <= 0 ||
        static_cast<unsigned long long>(size.QuadPart) > std::min<std::uint64_t>(limit, SIZE_MAX))
        return std::nullopt;
    const win32::UniqueHandle mapping(CreateFileMappingW(handle, nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping)
        return std::nullopt;
    const UniqueView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view)
        return std::nullopt;
    return std::string(static_cast<const char*>(view.Get()), static_cast<std::size_t>(size.QuadPart));
}

bool Win32Platform::StartHeldProgram(HeldFile& file, const std::string& arguments,
                                     const std::string& workingFolder) {
    // The file is still held: what starts is what was checked.
    const std::wstring program = win32::Wide(file.Path());
    std::wstring commandLine = L"\"" + program + L"\"" + win32::Wide(arguments);
    const std::wstring folder = win32::Wide(workingFolder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return false;
    const win32::UniqueHandle processHandle(process.hProcess);
    const win32::UniqueHandle threadHandle(process.hThread);
    return true;
}

} // namespace tov

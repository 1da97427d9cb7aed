// Asks the platform what the update's checks make of each file on the command line: whether it
// carries a trusted Authenticode signature, whose key signed it and which version it is, all
// through one held handle. Prints one line per file:
//   trusted|refused <path> status=0x<WinVerifyTrust> chain=0x<errors> policy=0x<result>
//       verdict=<verdict> signer=<key hash or -> version=<a.b.c.d or ->
// (on one line) with the signer's certificate chain errors and the Authenticode chain policy's
// result ("-" for a file without a signature): what the system thinks of the signer on its
// own, which tells a root that is not trusted from one that is.
#include "base/text.h"
#include "platform/win32/win32_platform.h"
#include "update/pe_version.h"
#include "update/response.h"

#include <windows.h>
// windows.h first: the trust headers build on its types.
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

struct StoreCloser {
    void operator()(void* store) const { CertCloseStore(static_cast<HCERTSTORE>(store), 0); }
};
struct MessageCloser {
    void operator()(void* message) const { CryptMsgClose(message); }
};
struct CertificateFreer {
    void operator()(const CERT_CONTEXT* certificate) const { CertFreeCertificateContext(certificate); }
};
struct ChainFreer {
    void operator()(const CERT_CHAIN_CONTEXT* chain) const { CertFreeCertificateChain(chain); }
};

LONG TrustStatus(const std::wstring& path) {
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = path.c_str();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG status = WinVerifyTrust(nullptr, &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(nullptr, &action, &data);
    return status;
}

// The chain error bits and the Authenticode policy result for the file's signer, or nothing
// when the file has no readable signature.
bool SignerChain(const std::wstring& path, DWORD& chainErrors, DWORD& policyError) {
    HCERTSTORE rawStore = nullptr;
    HCRYPTMSG rawMessage = nullptr;
    if (!CryptQueryObject(CERT_QUERY_OBJECT_FILE, path.c_str(), CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED,
                          CERT_QUERY_FORMAT_FLAG_BINARY, 0, nullptr, nullptr, nullptr, &rawStore, &rawMessage,
                          nullptr))
        return false;
    const std::unique_ptr<void, StoreCloser> store(rawStore);
    const std::unique_ptr<void, MessageCloser> message(rawMessage);

    DWORD size = 0;
    if (!CryptMsgGetParam(rawMessage, CMSG_SIGNER_INFO_PARAM, 0, nullptr, &size))
        return false;
    std::vector<BYTE> buffer(size);
    if (!CryptMsgGetParam(rawMessage, CMSG_SIGNER_INFO_PARAM, 0, buffer.data(), &size))
        return false;
    const auto* signer = reinterpret_cast<const CMSG_SIGNER_INFO*>(buffer.data());
    CERT_INFO wanted{};
    wanted.Issuer = signer->Issuer;
    wanted.SerialNumber = signer->SerialNumber;
    const std::unique_ptr<const CERT_CONTEXT, CertificateFreer> certificate(
        CertFindCertificateInStore(rawStore, kEncoding, 0, CERT_FIND_SUBJECT_CERT, &wanted, nullptr));
    if (!certificate)
        return false;

    CERT_CHAIN_PARA chainPara{};
    chainPara.cbSize = sizeof chainPara;
    const CERT_CHAIN_CONTEXT* rawChain = nullptr;
    if (!CertGetCertificateChain(nullptr, certificate.get(), nullptr, rawStore, &chainPara, 0, nullptr,
                                 &rawChain))
        return false;
    const std::unique_ptr<const CERT_CHAIN_CONTEXT, ChainFreer> chain(rawChain);
    chainErrors = rawChain->TrustStatus.dwErrorStatus;

    CERT_CHAIN_POLICY_PARA policyPara{};
    policyPara.cbSize = sizeof policyPara;
    CERT_CHAIN_POLICY_STATUS policyStatus{};
    policyStatus.cbSize = sizeof policyStatus;
    if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_AUTHENTICODE, rawChain, &policyPara,
                                          &policyStatus))
        return false;
    policyError = policyStatus.dwError;
    return true;
}

const char* VerdictName(tov::SignatureVerdict verdict) {
    switch (verdict) {
    case tov::SignatureVerdict::Trusted:
        return "trusted";
    case tov::SignatureVerdict::TrustedRevocationUnknown:
        return "trusted-revocation-unknown";
    case tov::SignatureVerdict::Revoked:
        return "revoked";
    case tov::SignatureVerdict::Refused:
        break;
    }
    return "refused";
}

std::string Utf8(const wchar_t* text) {
    const std::wstring w(text);
    return tov::Utf16ToUtf8(std::u16string(w.begin(), w.end()));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    tov::Win32Platform platform;
    int refused = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string path = Utf8(argv[i]);
        const tov::HeldFilePtr held = platform.HoldFile(path);
        const tov::SignatureCheck check = held ? platform.VerifySignature(*held) : tov::SignatureCheck{};
        const auto image = held ? platform.ReadHeldFile(*held, tov::kMaxUpdateSize) : std::nullopt;
        const auto version = image ? tov::PeFileVersion(*image) : std::nullopt;
        const bool trusted = check.verdict == tov::SignatureVerdict::Trusted ||
                             check.verdict == tov::SignatureVerdict::TrustedRevocationUnknown;
        if (!trusted)
            ++refused;
        std::printf("%s %s status=0x%08lx", trusted ? "trusted" : "refused", path.c_str(),
                    static_cast<unsigned long>(TrustStatus(argv[i])));
        DWORD chainErrors = 0;
        DWORD policyError = 0;
        if (SignerChain(argv[i], chainErrors, policyError))
            std::printf(" chain=0x%08lx policy=0x%08lx", static_cast<unsigned long>(chainErrors),
                        static_cast<unsigned long>(policyError));
        else
            std::printf(" chain=- policy=-");
        std::printf(" verdict=%s signer=%s", VerdictName(check.verdict),
                    check.signerKeyHash.empty() ? "-" : check.signerKeyHash.c_str());
        if (version)
            std::printf(" version=%u.%u.%u.%u\n", version->major, version->minor, version->revision,
                        version->build);
        else
            std::printf(" version=-\n");
    }
    return refused;
}

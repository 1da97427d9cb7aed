// A downloaded file is read twice before anything trusts it: its version resource, and the
// signer's certificate to find its key. Neither may read past the bytes, a version it reports
// must be one the file states, and a key it reports must lie inside the bytes.
#include "base/certificate_key.h"
#include "update/pe_version.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr std::size_t kFileVersionOffset = 8; // past the signature and dwStrucVersion

void PutU32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

// Whether the bytes hold a VS_FIXEDFILEINFO whose dwFileVersionMS and dwFileVersionLS give
// the version: the signature, the structure's version, then the two halves.
bool StatesVersion(std::string_view bytes, const tov::VersionNumber& version) {
    std::string signature;
    PutU32(signature, kFixedInfoSignature);
    std::string numbers;
    PutU32(numbers, (std::uint32_t{version.major} << 16) | version.minor);
    PutU32(numbers, (std::uint32_t{version.revision} << 16) | version.build);
    for (auto at = bytes.find(signature); at != std::string_view::npos; at = bytes.find(signature, at + 1))
        if (at + kFileVersionOffset + numbers.size() <= bytes.size() &&
            bytes.substr(at + kFileVersionOffset, numbers.size()) == numbers)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto version = tov::PeFileVersion(bytes); version && !StatesVersion(bytes, *version))
        std::abort();
    if (const auto key = tov::SubjectPublicKeyInfo(bytes)) {
        if (key->data() < bytes.data() || key->data() + key->size() > bytes.data() + bytes.size())
            std::abort();
    }
    return 0;
}

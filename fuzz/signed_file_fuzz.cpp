// A downloaded file is read twice before anything trusts it: its version resource, and the
// signer's certificate to find its key. Neither may read past the bytes or report a part
// that lies outside them.
#include "base/certificate_key.h"
#include "update/pe_version.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)tov::PeFileVersion(bytes);
    if (const auto key = tov::SubjectPublicKeyInfo(bytes)) {
        if (key->data() < bytes.data() || key->data() + key->size() > bytes.data() + bytes.size())
            std::abort();
    }
    return 0;
}

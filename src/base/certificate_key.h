#pragma once
// Names a certificate's key the way the build pins update signers: the SHA-256 of the DER
// bytes of its SubjectPublicKeyInfo, which stays the same when the certificate is renewed
// with the same key.
#include <optional>
#include <string>
#include <string_view>

namespace tov {

// The SubjectPublicKeyInfo of a DER-encoded X.509 certificate, as the bytes it has there;
// nothing when the bytes are no certificate.
std::optional<std::string_view> SubjectPublicKeyInfo(std::string_view certificate);

// Bytes as lower-case hexadecimal digits, two for each.
std::string LowerHex(std::string_view bytes);

} // namespace tov

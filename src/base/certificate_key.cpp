#include "base/certificate_key.h"

#include <cstdint>

namespace tov {

namespace {

constexpr unsigned char kSequence = 0x30;
constexpr unsigned char kInteger = 0x02;
constexpr unsigned char kExplicitVersion = 0xA0; // [0], constructed
constexpr unsigned char kLongLength = 0x80;
constexpr std::size_t kMostLengthBytes = 4;
// serial number, signature algorithm, issuer, validity, subject: then the key.
constexpr int kFieldsBeforeKey = 5;

// One DER element: its tag, its contents, and the whole of it with its header.
struct Element {
    unsigned char tag = 0;
    std::string_view contents;
    std::string_view whole;
};

// Reads the element at the start of `data`; nothing when it is cut short or malformed.
std::optional<Element> ReadElement(std::string_view data) {
    if (data.size() < 2)
        return std::nullopt;
    const auto tag = static_cast<unsigned char>(data[0]);
    const auto first = static_cast<unsigned char>(data[1]);
    std::size_t header = 2;
    std::uint64_t length = first;
    if (first & kLongLength) {
        const std::size_t count = first & ~kLongLength;
        if (count == 0 || count > kMostLengthBytes || data.size() < header + count)
            return std::nullopt;
        length = 0;
        for (std::size_t i = 0; i < count; ++i)
            length = (length << 8) | static_cast<unsigned char>(data[header + i]);
        header += count;
    }
    if (length > data.size() - header)
        return std::nullopt;
    const auto size = static_cast<std::size_t>(length);
    return Element{tag, data.substr(header, size), data.substr(0, header + size)};
}

} // namespace

std::optional<std::string_view> SubjectPublicKeyInfo(std::string_view certificate) {
    const auto outer = ReadElement(certificate);
    if (!outer || outer->tag != kSequence)
        return std::nullopt;
    const auto tbs = ReadElement(outer->contents);
    if (!tbs || tbs->tag != kSequence)
        return std::nullopt;
    std::string_view rest = tbs->contents;
    auto next = ReadElement(rest);
    if (next && next->tag == kExplicitVersion) {
        rest.remove_prefix(next->whole.size());
        next = ReadElement(rest);
    }
    if (!next || next->tag != kInteger)
        return std::nullopt;
    for (int field = 0; field < kFieldsBeforeKey; ++field) {
        if (!next)
            return std::nullopt;
        rest.remove_prefix(next->whole.size());
        next = ReadElement(rest);
    }
    if (!next || next->tag != kSequence)
        return std::nullopt;
    return next->whole;
}

std::string LowerHex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        hex += kDigits[value >> 4];
        hex += kDigits[value & 0x0F];
    }
    return hex;
}

} // namespace tov

#include "update/response.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace tov {

namespace {

// Proxies answer in HTTP/1.0 as often as not; the status is what counts.
constexpr std::string_view kVersions[] = {"HTTP/1.1 ", "HTTP/1.0 "};
constexpr std::size_t kStatusDigits = 3;
constexpr int kOk = 200;
constexpr int kNotFound = 404;

// The status code of a status line ("HTTP/1.1 404 Not Found"), and the line from the code on.
std::optional<std::pair<int, std::string_view>> ParseStatusLine(std::string_view line) {
    const auto version = std::find_if(std::begin(kVersions), std::end(kVersions),
                                      [&](std::string_view v) { return line.starts_with(v); });
    if (version == std::end(kVersions))
        return std::nullopt;
    const std::string_view rest = line.substr(version->size());
    if (rest.size() < kStatusDigits || (rest.size() > kStatusDigits && rest[kStatusDigits] != ' '))
        return std::nullopt;
    int code = 0;
    for (char c : rest.substr(0, kStatusDigits)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        code = code * 10 + (c - '0');
    }
    return std::make_pair(code, rest);
}

bool IsOkStatusLine(std::string_view line) {
    const auto status = ParseStatusLine(line);
    return status && status->first == kOk;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view lowerCase) {
    return a.size() == lowerCase.size() &&
           std::equal(a.begin(), a.end(), lowerCase.begin(), [](char x, char y) {
               return (x >= 'A' && x <= 'Z' ? static_cast<char>(x - 'A' + 'a') : x) == y;
           });
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Digits only; false when there are none, or other characters, or the value passes `limit`.
bool ParseLength(std::string_view text, std::uint64_t limit, std::uint64_t& value) {
    if (text.empty())
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit)
            return false;
    }
    return true;
}

} // namespace

void UpdateResponse::Append(std::string_view bytes) {
    if (Decided() || bytes.empty())
        return;
    if (inBody_) {
        const std::size_t wanted = static_cast<std::size_t>(length_ - body_.size());
        body_.append(bytes.substr(0, std::min(wanted, bytes.size())));
        if (body_.size() == length_)
            verdict_ = ResponseVerdict::Complete;
        return;
    }
    head_.append(bytes);
    ReadHeaderLines();
}

void UpdateResponse::RefuseHeaderBlock() {
    verdict_ = statusSeen_ ? ResponseVerdict::Incomplete : ResponseVerdict::ServerError;
}

void UpdateResponse::ReadHeaderLines() {
    for (;;) {
        // The bound is on where the header block ends, so it holds however the reply was cut.
        const std::size_t end = head_.find('\n', lineStart_);
        if (end == std::string::npos) {
            if (head_.size() >= kMaxHeaderBlock)
                RefuseHeaderBlock();
            return;
        }
        if (end >= kMaxHeaderBlock)
            return RefuseHeaderBlock();
        std::string_view line(head_.data() + lineStart_, end - lineStart_);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lineStart_ = end + 1;
        if (!statusSeen_) {
            const auto status = ParseStatusLine(line);
            if (status)
                status_ = std::string(status->second);
            if (!status || status->first != kOk) {
                verdict_ = status && status->first == kNotFound ? ResponseVerdict::NotFound
                                                                : ResponseVerdict::ServerError;
                return;
            }
            statusSeen_ = true;
        } else if (line.empty()) {
            BeginBody(lineStart_);
            return;
        } else {
            ReadHeader(line);
        }
    }
}

void UpdateResponse::ReadHeader(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return;
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = TrimBlanks(line.substr(colon + 1));
    if (SameNameIgnoringCase(name, "transfer-encoding")) {
        transferEncoded_ = true;
    } else if (SameNameIgnoringCase(name, "content-length")) {
        std::uint64_t length = 0;
        // Two different lengths leave no way to tell which one is true.
        if (!ParseLength(value, kMaxUpdateSize, length) || (lengthSeen_ && length != length_))
            lengthBad_ = true;
        lengthSeen_ = true;
        length_ = length;
    }
}

void UpdateResponse::BeginBody(std::size_t start) {
    // A chunked (or otherwise encoded) body has no length known in advance; it is not
    // taken rather than guessed at.
    if (transferEncoded_ || !lengthSeen_ || lengthBad_) {
        verdict_ = ResponseVerdict::Incomplete;
        return;
    }
    inBody_ = true;
    const std::string rest = head_.substr(start);
    head_.clear();
    head_.shrink_to_fit();
    if (length_ == 0)
        verdict_ = ResponseVerdict::Complete;
    else
        Append(rest);
}

void UpdateResponse::EndOfStream() {
    if (Decided())
        return;
    if (inBody_ || statusSeen_)
        verdict_ = ResponseVerdict::Incomplete;
    else if (head_.empty())
        verdict_ = ResponseVerdict::NoAnswer;
    else {
        std::string_view line = head_;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        // The connection broke inside the status line: whatever it was going to say is unknown.
        verdict_ = IsOkStatusLine(line) ? ResponseVerdict::Incomplete : ResponseVerdict::NoAnswer;
    }
}

} // namespace tov

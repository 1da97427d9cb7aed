#pragma once
// Reads the update server's answer as it arrives, piece by piece, and decides as early as it
// can. Only a 200 status line with a numeric Content-Length leads to a download, and the
// download is exactly that many bytes after the header block. A 404 means there is no newer
// version; any other status is the server's error, never "no update".
#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

// Bounds on what a server may send: beyond them the answer is refused.
inline constexpr std::uint64_t kMaxUpdateSize = 512ull << 20;
inline constexpr std::size_t kMaxHeaderBlock = 64u << 10; // status line and headers, up to the blank line

enum class ResponseVerdict {
    Pending,     // more is needed
    Complete,    // the whole installer has arrived
    NotFound,    // 404: the server has no such installer
    ServerError, // any other status, or an answer that is no HTTP at all
    Incomplete,  // a 200 answer that cannot be (or was not) delivered whole
    NoAnswer,    // the connection ended before a whole status line arrived
};

class UpdateResponse {
  public:
    // Takes the next bytes as they came off the connection; ignored once decided.
    void Append(std::string_view bytes);
    // The connection has ended: whatever is still pending becomes final.
    void EndOfStream();

    ResponseVerdict Verdict() const { return verdict_; }
    bool Decided() const { return verdict_ != ResponseVerdict::Pending; }
    // The installer's bytes; whole only when the verdict is Complete.
    const std::string& Body() const { return body_; }
    // The status code and reason as the server gave them ("503 Service Unavailable"); empty
    // before the status line, and for an answer that is no HTTP.
    const std::string& Status() const { return status_; }
    std::string TakeBody() { return std::move(body_); }

  private:
    void ReadHeaderLines();
    void ReadHeader(std::string_view line);
    void BeginBody(std::size_t start);
    void RefuseHeaderBlock();

    ResponseVerdict verdict_ = ResponseVerdict::Pending;
    bool inBody_ = false;
    bool statusSeen_ = false;
    bool lengthSeen_ = false;
    bool lengthBad_ = false;
    bool transferEncoded_ = false;
    std::uint64_t length_ = 0;
    std::string status_;
    std::string head_;
    std::size_t lineStart_ = 0;
    std::string body_;
};

} // namespace tov

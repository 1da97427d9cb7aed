#pragma once
// Reads the update server's answer as it arrives, piece by piece, and decides as early as it
// can. Only an "HTTP/1.1 200" status line with a numeric Content-Length leads to a download,
// and the download is exactly that many bytes after the header block.
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
    NotAnUpdate, // the status line is anything but HTTP/1.1 200
    Incomplete,  // a 200 answer that cannot be (or was not) delivered whole
    NoAnswer,    // the connection ended before anything arrived
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
    std::string head_;
    std::size_t lineStart_ = 0;
    std::string body_;
};

} // namespace tov

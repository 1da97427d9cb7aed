#pragma once
// One HTTP GET through the system's own client: on Windows WinHTTP, which follows the user's
// proxy settings and speaks HTTPS; elsewhere a plain HTTP/1.1 client over a TCP socket (no
// HTTPS), enough for the console tool and the tests. Every wait is bounded by its caller, so
// the program's thread can let its events run between them.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace tov {

enum class HttpScheme { Http, Https };

inline constexpr std::uint16_t kHttpPort = 80;
inline constexpr std::uint16_t kHttpsPort = 443;

std::uint16_t DefaultPort(HttpScheme scheme);

struct HttpGet {
    HttpScheme scheme = HttpScheme::Http;
    std::string host; // a name or an address; IPv6 addresses without their brackets
    std::uint16_t port = kHttpPort;
    std::string path; // from its first slash
    std::string accept;
    std::string userAgent;
    // The answer (head and body) may not grow past this; a longer one fails.
    std::uint64_t answerLimit = 0;
};

// The Host header's value: IPv6 addresses in brackets, the port only when it is not the
// scheme's own.
std::string HostHeader(HttpScheme scheme, const std::string& host, std::uint16_t port);

enum class HttpProgress {
    Waiting, // nothing new within the wait
    Sent,    // the request has gone out: the server (or the proxy) was reached
    Answer,  // `bytes` holds the next part of the answer
    Ended,   // the answer is over: the server closed, or the client has all it announced
    Failed,  // no connection, or a broken one; `failure` says why, for the log
};

struct HttpNews {
    HttpProgress progress = HttpProgress::Waiting;
    // The answer as HTTP/1.1 puts it: the status line and headers up to the blank line, then
    // the body with any transfer coding taken off.
    std::string bytes;
    std::string failure;
};

class HttpExchange {
  public:
    virtual ~HttpExchange() = default; // gives up whatever is still under way
    // Waits at most `wait` for what happens next; after Ended or Failed, nothing more comes.
    virtual HttpNews Next(std::chrono::milliseconds wait) = 0;
};

// Starts the request at once; the answer comes through Next.
std::unique_ptr<HttpExchange> StartHttpGet(const HttpGet& request);

} // namespace tov

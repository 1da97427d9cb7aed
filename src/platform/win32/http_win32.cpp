// The HTTP GET through WinHTTP: the system's proxy settings (those the user sees in Settings,
// automatic configuration included) and HTTPS come with it. WinHTTP's calls block, so they run
// on a thread of their own that hands its news over through a queue; the program's thread only
// ever waits on that queue, for as long as it chooses.
#include "platform/http.h"
#include "platform/win32/win32_handles.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>
#include <windows.h>
#include <winhttp.h>

namespace tov {

namespace {

// Each blocking step of WinHTTP gives up after this long, so a thread whose exchange was given
// up never lingers for long.
constexpr int kStepTimeoutMs = 30000;
constexpr DWORD kReadBlock = 64u << 10;
constexpr char kByteForWideCharacter = '?';

struct InternetTraits {
    static HINTERNET Invalid() { return nullptr; }
    static void Close(HINTERNET h) { WinHttpCloseHandle(h); }
};
using UniqueInternet = win32::Unique<HINTERNET, InternetTraits>;

// The system's words for a failure of WinHTTP (whose messages live in its own module) or of
// the system.
std::string Explain(const char* what, DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                        FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS |
                        FORMAT_MESSAGE_MAX_WIDTH_MASK;
    const DWORD length = FormatMessageW(flags, GetModuleHandleW(L"winhttp.dll"), error, 0,
                                        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text =
        length != 0 && buffer ? win32::Narrow(std::wstring_view(buffer, length)) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return std::string(what) + " (" + (text.empty() ? "error " + std::to_string(error) : text) + ")";
}

// What the worker thread and the exchange share; the worker holds it too, so it outlives an
// exchange that was given up.
struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<HttpNews> news;
    bool abandoned = false;

    void Post(HttpNews item) {
        std::lock_guard lock(mutex);
        news.push_back(std::move(item));
        changed.notify_all();
    }
    bool Abandoned() {
        std::lock_guard lock(mutex);
        return abandoned;
    }
};

// Header text as WinHTTP gives it, back to the bytes it was made of.
std::string HeaderBytes(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t c : text)
        bytes += c < 0x100 ? static_cast<char>(c) : kByteForWideCharacter;
    return bytes;
}

// The status line and headers, ended by the blank line.
std::optional<std::string> ResponseHead(HINTERNET request) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size,
                        WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return std::nullopt;
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1);
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                             text.data(), &size, WINHTTP_NO_HEADER_INDEX))
        return std::nullopt;
    std::string head = HeaderBytes(std::wstring_view(text.data(), size / sizeof(wchar_t)));
    while (!head.ends_with("\r\n\r\n"))
        head += "\r\n";
    return head;
}

struct GlobalTextTraits {
    static wchar_t* Invalid() { return nullptr; }
    static void Close(wchar_t* text) { GlobalFree(text); }
};
using GlobalText = win32::Unique<wchar_t*, GlobalTextTraits>;

// The session follows the user's proxy settings, as the system's own programs do. A proxy named
// outright is given to the session itself (not every implementation of the automatic session
// takes it from the settings); automatic configuration is the automatic session's, and a system
// older than Windows 8.1, which has none, gets WinHTTP's own setting.
UniqueInternet OpenSession(const std::wstring& userAgent) {
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&config))
        config = {};
    const GlobalText autoConfig(config.lpszAutoConfigUrl);
    const GlobalText proxy(config.lpszProxy);
    const GlobalText bypass(config.lpszProxyBypass);
    UniqueInternet session;
    if (proxy && !config.fAutoDetect && !autoConfig)
        session.Reset(WinHttpOpen(userAgent.c_str(), WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy.Get(),
                                  bypass ? bypass.Get() : WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session)
        session.Reset(WinHttpOpen(userAgent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                  WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session)
        session.Reset(WinHttpOpen(userAgent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0));
    if (session)
        WinHttpSetTimeouts(session.Get(), kStepTimeoutMs, kStepTimeoutMs, kStepTimeoutMs, kStepTimeoutMs);
    return session;
}

// The exchange as the program asks for it: one request, no redirection followed (an answer
// other than 200 is what it is), no cookies kept. The headers are the ones the update always
// sent, in the order WinHTTP writes them (Host and User-Agent are its own), which HTTP leaves free.
UniqueInternet OpenRequest(HINTERNET connection, const HttpGet& get) {
    const std::wstring path = win32::Wide(get.path);
    const std::wstring accept = win32::Wide(get.accept);
    const wchar_t* acceptTypes[] = {accept.c_str(), nullptr};
    UniqueInternet request(WinHttpOpenRequest(connection, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                              acceptTypes,
                                              get.scheme == HttpScheme::Https ? WINHTTP_FLAG_SECURE : 0));
    if (!request)
        return request;
    DWORD disabled = WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_KEEP_ALIVE;
    WinHttpSetOption(request.Get(), WINHTTP_OPTION_DISABLE_FEATURE, &disabled, sizeof disabled);
    WinHttpAddRequestHeaders(request.Get(), L"Connection: close", static_cast<DWORD>(-1),
                             WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
    return request;
}

void Exchange(const HttpGet& get, Shared& shared) {
    const auto fail = [&](const char* what) {
        shared.Post({HttpProgress::Failed, {}, Explain(what, GetLastError())});
    };
    const UniqueInternet session = OpenSession(win32::Wide(get.userAgent));
    if (!session)
        return fail("WinHTTP could not be opened");
    const UniqueInternet connection(
        WinHttpConnect(session.Get(), win32::Wide(get.host).c_str(), get.port, 0));
    if (!connection)
        return fail("the server's name could not be used");
    const UniqueInternet request = OpenRequest(connection.Get(), get);
    if (!request)
        return fail("the request could not be made");
    if (!WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                            0))
        return fail("the request could not be sent");
    shared.Post({HttpProgress::Sent, {}, {}});
    if (!WinHttpReceiveResponse(request.Get(), nullptr))
        return fail("no answer came");
    std::optional<std::string> head = ResponseHead(request.Get());
    if (!head)
        return fail("the answer's headers could not be read");
    std::uint64_t received = head->size();
    shared.Post({HttpProgress::Answer, std::move(*head), {}});
    std::vector<char> block(kReadBlock);
    while (!shared.Abandoned()) {
        DWORD read = 0;
        if (!WinHttpReadData(request.Get(), block.data(), kReadBlock, &read))
            return fail("the connection broke");
        if (read == 0)
            return shared.Post({HttpProgress::Ended, {}, {}});
        received += read;
        if (received > get.answerLimit)
            return shared.Post({HttpProgress::Failed, {}, "the answer is longer than allowed"});
        shared.Post({HttpProgress::Answer, std::string(block.data(), read), {}});
    }
}

class WinHttpExchange : public HttpExchange {
  public:
    explicit WinHttpExchange(const HttpGet& request) : shared_(std::make_shared<Shared>()) {
        try {
            std::thread([request, shared = shared_]() noexcept {
                try {
                    Exchange(request, *shared);
                } catch (...) {
                    shared->Post({HttpProgress::Failed, {}, "the exchange failed on its thread"});
                }
            }).detach();
        } catch (const std::system_error&) {
            shared_->Post({HttpProgress::Failed, {}, "no thread for the exchange"});
        }
    }
    ~WinHttpExchange() override {
        std::lock_guard lock(shared_->mutex);
        shared_->abandoned = true;
    }

    HttpNews Next(std::chrono::milliseconds wait) override {
        std::unique_lock lock(shared_->mutex);
        shared_->changed.wait_for(lock, wait, [this] { return !shared_->news.empty(); });
        if (shared_->news.empty())
            return {};
        HttpNews next = std::move(shared_->news.front());
        shared_->news.pop_front();
        return next;
    }

  private:
    std::shared_ptr<Shared> shared_;
};

} // namespace

std::unique_ptr<HttpExchange> StartHttpGet(const HttpGet& request) {
    return std::make_unique<WinHttpExchange>(request);
}

} // namespace tov

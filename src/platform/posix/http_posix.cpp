// The HTTP client where the system offers none to the program: a GET written by hand over a TCP
// socket, the answer handed on as the server sends it. Plain HTTP only.
#include "platform/http.h"
#include "platform/posix/tcp_socket.h"

#include <optional>

namespace tov {

namespace {

constexpr const char* kLineEnd = "\r\n";

std::string RequestText(const HttpGet& request) {
    return "GET " + request.path + " HTTP/1.1" + kLineEnd + "Accept: " + request.accept + kLineEnd +
           "User-Agent: " + request.userAgent + kLineEnd +
           "Host: " + HostHeader(request.scheme, request.host, request.port) + kLineEnd +
           "Connection: close" + kLineEnd + kLineEnd;
}

HttpNews Failure(std::string why) {
    return HttpNews{HttpProgress::Failed, {}, std::move(why)};
}

class SocketExchange : public HttpExchange {
  public:
    explicit SocketExchange(const HttpGet& request)
        : request_(RequestText(request)), answerLimit_(request.answerLimit) {
        if (request.scheme == HttpScheme::Https)
            final_ = Failure("this build's client speaks no HTTPS");
        else
            socket_.Connect(request.host, request.port);
    }

    HttpNews Next(std::chrono::milliseconds wait) override {
        if (final_)
            return *final_;
        if (!sent_)
            return Connect(wait);
        std::string bytes;
        switch (socket_.Receive(bytes, wait)) {
        case ReceiveStatus::Nothing:
            return {};
        case ReceiveStatus::Data:
            received_ += bytes.size();
            if (received_ > answerLimit_)
                return Finish(Failure("the answer is longer than allowed"));
            return HttpNews{HttpProgress::Answer, std::move(bytes), {}};
        case ReceiveStatus::Closed:
            return Finish(HttpNews{HttpProgress::Ended, {}, {}});
        case ReceiveStatus::Error:
            break;
        }
        return Finish(Failure("the connection broke"));
    }

  private:
    HttpNews Connect(std::chrono::milliseconds wait) {
        switch (socket_.State(wait)) {
        case SocketState::Connecting:
            return {};
        case SocketState::Connected:
            if (!socket_.Send(request_, wait))
                return Finish(Failure("the request could not be sent"));
            sent_ = true;
            return HttpNews{HttpProgress::Sent, {}, {}};
        case SocketState::Closed:
        case SocketState::Error:
            break;
        }
        return Finish(Failure("no connection to the server"));
    }

    HttpNews Finish(HttpNews news) {
        socket_.Close();
        final_ = news;
        return news;
    }

    TcpSocket socket_;
    std::string request_;
    std::uint64_t answerLimit_;
    std::uint64_t received_ = 0;
    bool sent_ = false;
    std::optional<HttpNews> final_;
};

} // namespace

std::unique_ptr<HttpExchange> StartHttpGet(const HttpGet& request) {
    return std::make_unique<SocketExchange>(request);
}

} // namespace tov

#pragma once
// A one-connection HTTP server on loopback that answers with a script: the reply's bytes in
// given pieces, with pauses between them, then a close or silence. For tests of the update
// exchange against answers that a real server would rarely give.
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tov::testing {

struct ScriptedReply {
    std::vector<std::string> pieces;
    std::chrono::milliseconds pause{0}; // between pieces
    bool answer = true;                 // false: read the request and then say nothing
    bool closeAfter = true;             // false: keep the connection open after the reply
};

// Splits `text` into pieces of `size` bytes.
inline std::vector<std::string> InPieces(const std::string& text, std::size_t size) {
    std::vector<std::string> pieces;
    for (std::size_t i = 0; i < text.size(); i += size)
        pieces.push_back(text.substr(i, size));
    return pieces;
}

class ScriptedServer {
  public:
    explicit ScriptedServer(ScriptedReply reply) : reply_(std::move(reply)) {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener_, 4) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~ScriptedServer() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        close(listener_);
    }
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    std::uint16_t Port() const { return port_; }
    std::string HostSetting() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string Request() const {
        std::lock_guard lock(mutex_);
        return request_;
    }
    int Connections() const { return connections_; }

  private:
    bool WaitFor(int fd, short events) {
        pollfd p{fd, events, 0};
        while (!stop_)
            if (poll(&p, 1, 10) > 0)
                return true;
        return false;
    }

    void Serve() {
        if (!WaitFor(listener_, POLLIN))
            return;
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            return;
        ++connections_;
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && WaitFor(client, POLLIN)) {
            const ssize_t n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        {
            std::lock_guard lock(mutex_);
            request_ = request;
        }
        if (reply_.answer) {
            for (std::size_t i = 0; i < reply_.pieces.size() && !stop_; ++i) {
                if (i > 0 && reply_.pause.count() > 0)
                    std::this_thread::sleep_for(reply_.pause);
                const std::string& piece = reply_.pieces[i];
                if (send(client, piece.data(), piece.size(), MSG_NOSIGNAL) !=
                    static_cast<ssize_t>(piece.size()))
                    break;
            }
        }
        if (!reply_.answer || !reply_.closeAfter)
            while (!stop_)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        close(client);
    }

    ScriptedReply reply_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::string request_;
};

} // namespace tov::testing

#include "update/tcp_socket.h"

#include "platform/socket_os.h"
#include "update/background_call.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace tov {

namespace {

using socket_os::NativeSocket;

// One call takes at most this much, so a fast sender cannot keep the caller from its events.
constexpr std::size_t kMostPerCall = 1u << 20;
constexpr std::size_t kReceiveBlock = 64u << 10;

class UniqueSocket {
  public:
    UniqueSocket() = default;
    explicit UniqueSocket(NativeSocket s) : socket_(s) {}
    ~UniqueSocket() { Reset(); }
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;
    UniqueSocket& operator=(UniqueSocket&& other) noexcept {
        if (this != &other) {
            Reset();
            socket_ = std::exchange(other.socket_, socket_os::kNoSocket);
        }
        return *this;
    }
    NativeSocket Get() const { return socket_; }
    bool Valid() const { return socket_ != socket_os::kNoSocket; }
    void Reset() {
        if (Valid())
            socket_os::CloseSocket(std::exchange(socket_, socket_os::kNoSocket));
    }

  private:
    NativeSocket socket_ = socket_os::kNoSocket;
};

} // namespace

struct TcpSocket::Impl {
    UniqueSocket socket;
    // The host-name lookup can take seconds, far longer than the program's thread may be away.
    std::optional<BackgroundCall<std::vector<socket_os::SocketAddress>>> resolving;
    std::vector<socket_os::SocketAddress> addresses;
    std::size_t nextAddress = 0;
    SocketState state = SocketState::Closed;

    void ConnectToNextAddress() {
        while (nextAddress < addresses.size()) {
            const socket_os::SocketAddress& a = addresses[nextAddress++];
            socket = UniqueSocket(socket_os::OpenNonBlocking(a.family));
            if (!socket.Valid())
                continue;
            switch (socket_os::StartConnect(socket.Get(), a)) {
            case socket_os::Progress::Done:
                state = SocketState::Connected;
                return;
            case socket_os::Progress::Pending:
                state = SocketState::Connecting;
                return;
            case socket_os::Progress::Failed:
                break;
            }
        }
        socket.Reset();
        state = SocketState::Error;
    }
};

TcpSocket::TcpSocket() : impl_(std::make_unique<Impl>()) {}
TcpSocket::~TcpSocket() = default;

void TcpSocket::Connect(const std::string& host, std::uint16_t port) {
    Close();
    if (!socket_os::StartNetworking()) {
        impl_->state = SocketState::Error;
        return;
    }
    impl_->state = SocketState::Connecting;
    impl_->resolving.emplace([host, port] { return socket_os::Resolve(host, port); });
}

SocketState TcpSocket::State(std::chrono::milliseconds wait) {
    Impl& s = *impl_;
    if (s.state != SocketState::Connecting)
        return s.state;
    if (s.resolving) {
        auto found = s.resolving->Wait(wait);
        if (!found)
            return s.state;
        s.resolving.reset();
        s.addresses = std::move(*found);
        s.ConnectToNextAddress();
        return s.state;
    }
    switch (socket_os::ConnectOutcome(s.socket.Get(), wait)) {
    case socket_os::Progress::Pending:
        break;
    case socket_os::Progress::Done:
        s.state = SocketState::Connected;
        break;
    case socket_os::Progress::Failed:
        s.ConnectToNextAddress();
        break;
    }
    return s.state;
}

bool TcpSocket::Send(std::string_view bytes, std::chrono::milliseconds limit) {
    Impl& s = *impl_;
    while (!bytes.empty()) {
        if (s.state != SocketState::Connected)
            return false;
        const socket_os::Transfer sent = socket_os::SendSome(s.socket.Get(), bytes.substr(0, kMostPerCall));
        switch (sent.outcome) {
        case socket_os::Transfer::Moved:
            bytes.remove_prefix(std::min(sent.count, bytes.size()));
            break;
        case socket_os::Transfer::Interrupted:
            break;
        case socket_os::Transfer::WouldBlock:
            switch (socket_os::WaitFor(s.socket.Get(), socket_os::Direction::Write, limit)) {
            case socket_os::Readiness::None:
                return false;
            case socket_os::Readiness::Failed:
                s.state = SocketState::Error;
                return false;
            case socket_os::Readiness::Ready:
                break;
            }
            break;
        case socket_os::Transfer::Closed:
        case socket_os::Transfer::Failed:
            s.state = SocketState::Error;
            return false;
        }
    }
    return true;
}

ReceiveStatus TcpSocket::Receive(std::string& into, std::chrono::milliseconds wait) {
    Impl& s = *impl_;
    if (s.state != SocketState::Connected)
        return s.state == SocketState::Error ? ReceiveStatus::Error : ReceiveStatus::Closed;
    if (socket_os::WaitFor(s.socket.Get(), socket_os::Direction::Read, wait) == socket_os::Readiness::None)
        return ReceiveStatus::Nothing;
    std::size_t taken = 0;
    std::vector<char> block(kReceiveBlock);
    while (taken < kMostPerCall) {
        const socket_os::Transfer got = socket_os::ReceiveSome(s.socket.Get(), block.data(), block.size());
        if (got.outcome == socket_os::Transfer::Moved) {
            into.append(block.data(), got.count);
            taken += got.count;
            continue;
        }
        if (got.outcome == socket_os::Transfer::Interrupted)
            continue;
        if (taken > 0)
            break; // the end or the error shows again on the next call
        if (got.outcome == socket_os::Transfer::Closed)
            return ReceiveStatus::Closed;
        if (got.outcome == socket_os::Transfer::WouldBlock)
            return ReceiveStatus::Nothing;
        s.state = SocketState::Error;
        return ReceiveStatus::Error;
    }
    return ReceiveStatus::Data;
}

void TcpSocket::Close() {
    impl_->resolving.reset();
    impl_->socket.Reset();
    impl_->addresses.clear();
    impl_->nextAddress = 0;
    impl_->state = SocketState::Closed;
}

} // namespace tov

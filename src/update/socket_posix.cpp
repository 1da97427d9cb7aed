#include "update/socket.h"

#include "update/background_call.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace tov {

namespace {

// One call takes at most this much, so a fast sender cannot keep the caller from its events.
constexpr std::size_t kMostPerCall = 1u << 20;
constexpr std::size_t kReceiveBlock = 64u << 10;

class UniqueSocket {
  public:
    UniqueSocket() = default;
    explicit UniqueSocket(int fd) : fd_(fd) {}
    ~UniqueSocket() { Reset(); }
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;
    UniqueSocket& operator=(UniqueSocket&& other) noexcept {
        if (this != &other) {
            Reset();
            fd_ = other.fd_;
            other.fd_ = -1;
        }
        return *this;
    }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Reset() {
        if (fd_ >= 0)
            close(fd_);
        fd_ = -1;
    }

  private:
    int fd_ = -1;
};

struct Address {
    sockaddr_storage storage{};
    socklen_t length = 0;
    int family = 0;
};

int Milliseconds(std::chrono::milliseconds wait) {
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(
        0, std::min<std::chrono::milliseconds::rep>(wait.count(), kLongestSocketWait.count())));
}

// Waits for `events` on the socket; true when one came, false when the time ran out.
bool WaitFor(int fd, short events, std::chrono::milliseconds wait) {
    pollfd p{fd, events, 0};
    for (;;) {
        const int r = poll(&p, 1, Milliseconds(wait));
        if (r >= 0)
            return r > 0;
        if (errno != EINTR)
            return true; // let the following call find out what is wrong
    }
}

// The host's addresses, in the order the resolver prefers them; none when it has none.
std::vector<Address> Resolve(const std::string& host, std::uint16_t port) {
    std::vector<Address> addresses;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return addresses;
    for (const addrinfo* a = found; a; a = a->ai_next) {
        if (a->ai_addrlen > sizeof(sockaddr_storage))
            continue;
        Address address;
        std::memcpy(&address.storage, a->ai_addr, a->ai_addrlen);
        address.length = a->ai_addrlen;
        address.family = a->ai_family;
        addresses.push_back(address);
    }
    freeaddrinfo(found);
    return addresses;
}

} // namespace

struct TcpSocket::Impl {
    UniqueSocket socket;
    // The host-name lookup can take seconds, far longer than the program's thread may be away.
    std::optional<BackgroundCall<std::vector<Address>>> resolving;
    std::vector<Address> addresses;
    std::size_t nextAddress = 0;
    SocketState state = SocketState::Closed;

    void ConnectToNextAddress() {
        while (nextAddress < addresses.size()) {
            const Address& a = addresses[nextAddress++];
            socket = UniqueSocket(::socket(a.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
            if (!socket.Valid())
                continue;
            if (connect(socket.Get(), reinterpret_cast<const sockaddr*>(&a.storage), a.length) == 0) {
                state = SocketState::Connected;
                return;
            }
            if (errno == EINPROGRESS || errno == EINTR) {
                state = SocketState::Connecting;
                return;
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
    impl_->state = SocketState::Connecting;
    impl_->resolving.emplace([host, port] { return Resolve(host, port); });
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
    if (!WaitFor(s.socket.Get(), POLLOUT, wait))
        return s.state;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(s.socket.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    if (error == 0)
        s.state = SocketState::Connected;
    else if (error != EINPROGRESS && error != EALREADY)
        s.ConnectToNextAddress();
    return s.state;
}

bool TcpSocket::Send(std::string_view bytes, std::chrono::milliseconds limit) {
    Impl& s = *impl_;
    while (!bytes.empty()) {
        if (s.state != SocketState::Connected)
            return false;
        const ssize_t n = send(s.socket.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(s.socket.Get(), POLLOUT, limit))
                return false;
            continue;
        }
        s.state = SocketState::Error;
        return false;
    }
    return true;
}

ReceiveStatus TcpSocket::Receive(std::string& into, std::chrono::milliseconds wait) {
    Impl& s = *impl_;
    if (s.state != SocketState::Connected)
        return s.state == SocketState::Error ? ReceiveStatus::Error : ReceiveStatus::Closed;
    if (!WaitFor(s.socket.Get(), POLLIN, wait))
        return ReceiveStatus::Nothing;
    std::size_t taken = 0;
    char block[kReceiveBlock];
    while (taken < kMostPerCall) {
        const ssize_t n = recv(s.socket.Get(), block, sizeof block, 0);
        if (n > 0) {
            into.append(block, static_cast<std::size_t>(n));
            taken += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (taken > 0)
            break; // the end or the error shows again on the next call
        if (n == 0)
            return ReceiveStatus::Closed;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
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

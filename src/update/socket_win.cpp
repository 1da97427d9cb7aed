#include "update/socket.h"

#include "update/background_call.h"

#include "platform/text.h"

#include <algorithm>
#include <cstring>
#include <vector>
#include <winsock2.h>
#include <ws2tcpip.h>

namespace tov {

namespace {

// One call takes at most this much, so a fast sender cannot keep the caller from its events.
constexpr std::size_t kMostPerCall = 1u << 20;
constexpr int kReceiveBlock = 64 << 10;

// Winsock is started on first use and stays up for the life of the process.
bool WinsockReady() {
    struct Library {
        bool ok = false;
        Library() {
            WSADATA data{};
            ok = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        }
        ~Library() {
            if (ok)
                WSACleanup();
        }
    };
    static Library library;
    return library.ok;
}

class UniqueSocket {
  public:
    UniqueSocket() = default;
    explicit UniqueSocket(SOCKET s) : socket_(s) {}
    ~UniqueSocket() { Reset(); }
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;
    UniqueSocket& operator=(UniqueSocket&& other) noexcept {
        if (this != &other) {
            Reset();
            socket_ = other.socket_;
            other.socket_ = INVALID_SOCKET;
        }
        return *this;
    }
    SOCKET Get() const { return socket_; }
    bool Valid() const { return socket_ != INVALID_SOCKET; }
    void Reset() {
        if (socket_ != INVALID_SOCKET)
            closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }

  private:
    SOCKET socket_ = INVALID_SOCKET;
};

struct Address {
    sockaddr_storage storage{};
    int length = 0;
    int family = 0;
};

timeval ToTimeval(std::chrono::milliseconds wait) {
    const long long ms = std::clamp<long long>(wait.count(), 0, kLongestSocketWait.count());
    timeval tv{};
    tv.tv_sec = static_cast<long>(ms / 1000);
    tv.tv_usec = static_cast<long>((ms % 1000) * 1000);
    return tv;
}

enum class Readiness { None, Ready, Failed };

// Waits until the socket can be read (or written); a failed connection shows as Failed.
Readiness WaitFor(SOCKET s, bool forWriting, std::chrono::milliseconds wait) {
    fd_set ready;
    fd_set failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(s, &ready);
    FD_SET(s, &failed);
    timeval tv = ToTimeval(wait);
    const int r =
        forWriting ? select(0, nullptr, &ready, &failed, &tv) : select(0, &ready, nullptr, &failed, &tv);
    if (r == 0)
        return Readiness::None;
    if (r == SOCKET_ERROR || FD_ISSET(s, &failed))
        return Readiness::Failed;
    return Readiness::Ready;
}

// The host's addresses, in the order the resolver prefers them; none when it has none.
std::vector<Address> Resolve(const std::string& host, std::uint16_t port) {
    std::vector<Address> addresses;
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    const std::u16string wideHost = Utf8ToUtf16(host);
    const std::wstring node(wideHost.begin(), wideHost.end());
    const std::wstring service = std::to_wstring(port);
    ADDRINFOW* found = nullptr;
    if (GetAddrInfoW(node.c_str(), service.c_str(), &hints, &found) != 0)
        return addresses;
    for (const ADDRINFOW* a = found; a; a = a->ai_next) {
        if (a->ai_addrlen > sizeof(sockaddr_storage))
            continue;
        Address address;
        std::memcpy(&address.storage, a->ai_addr, a->ai_addrlen);
        address.length = static_cast<int>(a->ai_addrlen);
        address.family = a->ai_family;
        addresses.push_back(address);
    }
    FreeAddrInfoW(found);
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
            socket = UniqueSocket(::socket(a.family, SOCK_STREAM, IPPROTO_TCP));
            if (!socket.Valid())
                continue;
            u_long nonBlocking = 1;
            if (ioctlsocket(socket.Get(), FIONBIO, &nonBlocking) != 0)
                continue;
            if (connect(socket.Get(), reinterpret_cast<const sockaddr*>(&a.storage), a.length) == 0) {
                state = SocketState::Connected;
                return;
            }
            if (WSAGetLastError() == WSAEWOULDBLOCK) {
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
    if (!WinsockReady()) {
        impl_->state = SocketState::Error;
        return;
    }
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
    switch (WaitFor(s.socket.Get(), true, wait)) {
    case Readiness::None:
        break;
    case Readiness::Ready:
        s.state = SocketState::Connected;
        break;
    case Readiness::Failed:
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
        const int want = static_cast<int>(std::min<std::size_t>(bytes.size(), kMostPerCall));
        const int n = send(s.socket.Get(), bytes.data(), want, 0);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
            const Readiness r = WaitFor(s.socket.Get(), true, limit);
            if (r == Readiness::None)
                return false;
            if (r == Readiness::Failed)
                s.state = SocketState::Error;
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
    if (WaitFor(s.socket.Get(), false, wait) == Readiness::None)
        return ReceiveStatus::Nothing;
    std::size_t taken = 0;
    std::vector<char> block(kReceiveBlock);
    while (taken < kMostPerCall) {
        const int n = recv(s.socket.Get(), block.data(), kReceiveBlock, 0);
        if (n > 0) {
            into.append(block.data(), static_cast<std::size_t>(n));
            taken += static_cast<std::size_t>(n);
            continue;
        }
        if (taken > 0)
            break; // the end or the error shows again on the next call
        if (n == 0)
            return ReceiveStatus::Closed;
        if (WSAGetLastError() == WSAEWOULDBLOCK)
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

#include "platform/socket_os.h"

#include "base/text.h"

#include <algorithm>
#include <climits>
#include <winsock2.h>
#include <ws2tcpip.h>

namespace tov::socket_os {

namespace {

static_assert(sizeof(sockaddr_storage) <= kLongestAddress);
static_assert(sizeof(SOCKET) == sizeof(NativeSocket) && INVALID_SOCKET == kNoSocket);

SOCKET Native(NativeSocket socket) {
    return static_cast<SOCKET>(socket);
}

timeval ToTimeval(std::chrono::milliseconds wait) {
    const long long ms = std::clamp<long long>(wait.count(), 0, kLongestSocketWait.count());
    timeval tv{};
    tv.tv_sec = static_cast<long>(ms / 1000);
    tv.tv_usec = static_cast<long>((ms % 1000) * 1000);
    return tv;
}

// A failed connection shows in the exception set.
Readiness Select(NativeSocket socket, Direction direction, std::chrono::milliseconds wait) {
    fd_set ready;
    fd_set failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(Native(socket), &ready);
    FD_SET(Native(socket), &failed);
    timeval tv = ToTimeval(wait);
    const int r = direction == Direction::Write ? select(0, nullptr, &ready, &failed, &tv)
                                                : select(0, &ready, nullptr, &failed, &tv);
    if (r == 0)
        return Readiness::None;
    if (r == SOCKET_ERROR || FD_ISSET(Native(socket), &failed))
        return Readiness::Failed;
    return Readiness::Ready;
}

Transfer TransferOf(int n) {
    if (n > 0)
        return {Transfer::Moved, static_cast<std::size_t>(n)};
    if (n == 0)
        return {Transfer::Closed};
    return {WSAGetLastError() == WSAEWOULDBLOCK ? Transfer::WouldBlock : Transfer::Failed};
}

int ClampedLength(std::size_t length) {
    return static_cast<int>(std::min<std::size_t>(length, INT_MAX));
}

} // namespace

// Winsock is started on first use and stays up for the life of the process.
bool StartNetworking() {
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

std::vector<SocketAddress> Resolve(const std::string& host, std::uint16_t port) {
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    const std::u16string wideHost = Utf8ToUtf16(host);
    const std::wstring node(wideHost.begin(), wideHost.end());
    const std::wstring service = std::to_wstring(port);
    ADDRINFOW* found = nullptr;
    if (GetAddrInfoW(node.c_str(), service.c_str(), &hints, &found) != 0)
        return {};
    std::vector<SocketAddress> addresses = CollectAddresses(found);
    FreeAddrInfoW(found);
    return addresses;
}

NativeSocket OpenNonBlocking(int family) {
    const SOCKET s = ::socket(family, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return kNoSocket;
    u_long nonBlocking = 1;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
        closesocket(s);
        return kNoSocket;
    }
    return static_cast<NativeSocket>(s);
}

void CloseSocket(NativeSocket socket) {
    closesocket(Native(socket));
}

Progress StartConnect(NativeSocket socket, const SocketAddress& address) {
    if (connect(Native(socket), reinterpret_cast<const sockaddr*>(address.bytes.data()),
                static_cast<int>(address.length)) == 0)
        return Progress::Done;
    return WSAGetLastError() == WSAEWOULDBLOCK ? Progress::Pending : Progress::Failed;
}

Progress ConnectOutcome(NativeSocket socket, std::chrono::milliseconds wait) {
    switch (Select(socket, Direction::Write, wait)) {
    case Readiness::None:
        return Progress::Pending;
    case Readiness::Ready:
        return Progress::Done;
    case Readiness::Failed:
        break;
    }
    return Progress::Failed;
}

Readiness WaitFor(NativeSocket socket, Direction direction, std::chrono::milliseconds wait) {
    return Select(socket, direction, wait);
}

Transfer SendSome(NativeSocket socket, std::string_view bytes) {
    const int n = send(Native(socket), bytes.data(), ClampedLength(bytes.size()), 0);
    return n == 0 ? Transfer{Transfer::Failed} : TransferOf(n);
}

Transfer ReceiveSome(NativeSocket socket, char* into, std::size_t room) {
    return TransferOf(recv(Native(socket), into, ClampedLength(room), 0));
}

} // namespace tov::socket_os

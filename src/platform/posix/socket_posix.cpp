#include "platform/socket_os.h"

#include <algorithm>
#include <cerrno>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tov::socket_os {

namespace {

static_assert(sizeof(sockaddr_storage) <= kLongestAddress);

int Fd(NativeSocket socket) {
    return static_cast<int>(socket);
}

int Milliseconds(std::chrono::milliseconds wait) {
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(
        0, std::min<std::chrono::milliseconds::rep>(wait.count(), kLongestSocketWait.count())));
}

// True when one of `events` came, false when the time ran out.
bool Poll(NativeSocket socket, short events, std::chrono::milliseconds wait) {
    pollfd p{Fd(socket), events, 0};
    for (;;) {
        const int r = poll(&p, 1, Milliseconds(wait));
        if (r >= 0)
            return r > 0;
        if (errno != EINTR)
            return true; // let the following call find out what is wrong
    }
}

Transfer TransferOf(ssize_t n) {
    if (n > 0)
        return {Transfer::Moved, static_cast<std::size_t>(n)};
    if (n == 0)
        return {Transfer::Closed};
    if (errno == EINTR)
        return {Transfer::Interrupted};
    if (errno == EAGAIN || errno == EWOULDBLOCK)
        return {Transfer::WouldBlock};
    return {Transfer::Failed};
}

} // namespace

bool StartNetworking() {
    return true;
}

std::vector<SocketAddress> Resolve(const std::string& host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return {};
    std::vector<SocketAddress> addresses = CollectAddresses(found);
    freeaddrinfo(found);
    return addresses;
}

NativeSocket OpenNonBlocking(int family) {
    const int fd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    return fd < 0 ? kNoSocket : static_cast<NativeSocket>(fd);
}

void CloseSocket(NativeSocket socket) {
    close(Fd(socket));
}

Progress StartConnect(NativeSocket socket, const SocketAddress& address) {
    if (connect(Fd(socket), reinterpret_cast<const sockaddr*>(address.bytes.data()),
                static_cast<socklen_t>(address.length)) == 0)
        return Progress::Done;
    return errno == EINPROGRESS || errno == EINTR ? Progress::Pending : Progress::Failed;
}

Progress ConnectOutcome(NativeSocket socket, std::chrono::milliseconds wait) {
    if (!Poll(socket, POLLOUT, wait))
        return Progress::Pending;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(Fd(socket), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    if (error == 0)
        return Progress::Done;
    return error == EINPROGRESS || error == EALREADY ? Progress::Pending : Progress::Failed;
}

Readiness WaitFor(NativeSocket socket, Direction direction, std::chrono::milliseconds wait) {
    return Poll(socket, direction == Direction::Read ? POLLIN : POLLOUT, wait) ? Readiness::Ready
                                                                               : Readiness::None;
}

Transfer SendSome(NativeSocket socket, std::string_view bytes) {
    const ssize_t n = send(Fd(socket), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    // Nothing sent of something is no end of the stream, only a failure.
    return n == 0 ? Transfer{Transfer::Failed} : TransferOf(n);
}

Transfer ReceiveSome(NativeSocket socket, char* into, std::size_t room) {
    return TransferOf(recv(Fd(socket), into, room, 0));
}

} // namespace tov::socket_os

#pragma once
// What the portable socket (update/tcp_socket.cpp) asks of the system's sockets: posix/ and
// win32/ each give these few calls, and nothing else differs between them.
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

// Every wait is cut to a day, which keeps it inside the int and long fields the system calls take.
inline constexpr std::chrono::milliseconds kLongestSocketWait = std::chrono::hours(24);

} // namespace tov

namespace tov::socket_os {

// A socket of the system: a file descriptor or a Winsock SOCKET.
using NativeSocket = std::uintptr_t;
inline constexpr NativeSocket kNoSocket = ~NativeSocket{0};

// Room for any address the resolver gives (the size of sockaddr_storage on every system).
inline constexpr std::size_t kLongestAddress = 128;

struct SocketAddress {
    std::array<std::byte, kLongestAddress> bytes{};
    std::size_t length = 0;
    int family = 0;
};

// Copies the resolver's list (addrinfo or ADDRINFOW) in the order it prefers, leaving out any
// address too long to keep.
template <typename AddressInfo> std::vector<SocketAddress> CollectAddresses(const AddressInfo* first) {
    std::vector<SocketAddress> addresses;
    for (const AddressInfo* a = first; a; a = a->ai_next) {
        if (a->ai_addrlen > kLongestAddress)
            continue;
        SocketAddress address;
        std::memcpy(address.bytes.data(), a->ai_addr, a->ai_addrlen);
        address.length = a->ai_addrlen;
        address.family = a->ai_family;
        addresses.push_back(address);
    }
    return addresses;
}

enum class Progress { Done, Pending, Failed };
enum class Readiness { None, Ready, Failed };
enum class Direction { Read, Write };

struct Transfer {
    enum Outcome { Moved, Interrupted, WouldBlock, Closed, Failed } outcome = Failed;
    std::size_t count = 0; // bytes moved, when Moved
};

// False when the system's networking cannot be started at all.
bool StartNetworking();
// The host's addresses; none when it has none or cannot be looked up. Blocks.
std::vector<SocketAddress> Resolve(const std::string& host, std::uint16_t port);
// A stream socket of `family` that never blocks; kNoSocket when none can be made.
NativeSocket OpenNonBlocking(int family);
void CloseSocket(NativeSocket socket);
Progress StartConnect(NativeSocket socket, const SocketAddress& address);
// How a pending connection stands after waiting at most `wait` for it to settle.
Progress ConnectOutcome(NativeSocket socket, std::chrono::milliseconds wait);
Readiness WaitFor(NativeSocket socket, Direction direction, std::chrono::milliseconds wait);
Transfer SendSome(NativeSocket socket, std::string_view bytes);
Transfer ReceiveSome(NativeSocket socket, char* into, std::size_t room);

} // namespace tov::socket_os

#pragma once
// A TCP client socket that never blocks for longer than its caller allows: every call that
// waits takes a time limit, so the caller can let window events run between the waits.
// The same class is built over Winsock on Windows and over BSD sockets elsewhere.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tov {

enum class SocketState { Closed, Connecting, Connected, Error };

enum class ReceiveStatus {
    Data,    // bytes were appended
    Nothing, // the wait ran out with nothing new
    Closed,  // the other side has closed and everything it sent has been read
    Error,
};

class TcpSocket {
  public:
    TcpSocket();
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Starts looking the host up and then connecting to its first address; when an address
    // refuses, the next one is tried. Returns at once; State() tells how it goes.
    void Connect(const std::string& host, std::uint16_t port);
    // Waits at most `wait` for a pending connection to settle, then gives the state.
    SocketState State(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
    // Sends all of `bytes`, waiting at most `limit` for room each time the system's buffer is full.
    bool Send(std::string_view bytes, std::chrono::milliseconds limit);
    // Waits at most `wait` for data and appends all that has arrived to `into`.
    ReceiveStatus Receive(std::string& into, std::chrono::milliseconds wait);
    void Close();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tov

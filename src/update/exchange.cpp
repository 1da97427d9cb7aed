#include "update/exchange.h"

#include "update/response.h"
#include "update/tcp_socket.h"

namespace tov {

namespace {

using Clock = std::chrono::steady_clock;

ExchangeOutcome OutcomeOf(ResponseVerdict verdict) {
    switch (verdict) {
    case ResponseVerdict::Complete:
        return ExchangeOutcome::Downloaded;
    case ResponseVerdict::NotAnUpdate:
        return ExchangeOutcome::NoUpdate;
    case ResponseVerdict::Incomplete:
        return ExchangeOutcome::Incomplete;
    case ResponseVerdict::Pending:
    case ResponseVerdict::NoAnswer:
        break;
    }
    return ExchangeOutcome::ConnectFailed;
}

bool WaitForConnection(TcpSocket& socket, const ExchangeLimits& limits,
                       const std::function<void()>& pumpEvents) {
    const Clock::time_point deadline = Clock::now() + limits.connect;
    for (;;) {
        switch (socket.State(limits.slice)) {
        case SocketState::Connected:
            return true;
        case SocketState::Error:
        case SocketState::Closed:
            return false;
        case SocketState::Connecting:
            break;
        }
        if (Clock::now() >= deadline)
            return false;
        pumpEvents();
    }
}

// Reads until the answer is decided or the connection ends; false on silence past the limit.
bool ReadResponse(TcpSocket& socket, UpdateResponse& response, const ExchangeLimits& limits,
                  const std::function<void()>& pumpEvents) {
    Clock::time_point lastHeard = Clock::now();
    std::string arrived;
    while (!response.Decided()) {
        pumpEvents();
        arrived.clear();
        switch (socket.Receive(arrived, limits.slice)) {
        case ReceiveStatus::Data:
            response.Append(arrived);
            lastHeard = Clock::now();
            break;
        case ReceiveStatus::Closed:
        case ReceiveStatus::Error:
            response.EndOfStream();
            break;
        case ReceiveStatus::Nothing:
            if (Clock::now() - lastHeard >= limits.silence)
                return false;
            break;
        }
    }
    return true;
}

} // namespace

ExchangeResult FetchInstaller(const UpdateServer& server, const std::string& installerName,
                              const ExchangeLimits& limits, const std::function<void()>& pumpEvents,
                              const std::function<void()>& connected) {
    const auto pump = [&] {
        if (pumpEvents)
            pumpEvents();
    };
    ExchangeResult result;
    TcpSocket socket;
    socket.Connect(server.host, server.port);
    pump();
    if (!WaitForConnection(socket, limits, pump)) {
        socket.Close();
        pump();
        return result;
    }
    if (connected)
        connected();

    bool sent = true;
    for (const std::string& line : UpdateRequestLines(installerName, server))
        sent = sent && socket.Send(line, limits.silence);
    UpdateResponse response;
    const bool heard = sent && ReadResponse(socket, response, limits, pump);
    socket.Close();
    pump();

    if (heard) {
        result.outcome = OutcomeOf(response.Verdict());
        if (result.outcome == ExchangeOutcome::Downloaded)
            result.installer = response.TakeBody();
    }
    return result;
}

} // namespace tov

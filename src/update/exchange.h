#pragma once
// One update check over the network: ask for the installer, read the answer. It waits in short
// slices and lets the caller's events run between them.
#include "update/request.h"

#include <chrono>
#include <functional>
#include <string>

namespace tov {

struct ExchangeLimits {
    std::chrono::milliseconds silence{30000};        // without news from the server
    std::chrono::milliseconds total{10 * 60 * 1000}; // for the whole exchange, however it trickles
    std::chrono::milliseconds slice{20};             // longest wait before events run again
};

enum class ExchangeOutcome {
    Downloaded,
    NoUpdate,      // 404: the server has no newer installer
    ServerError,   // the server answered with another status, or with no HTTP at all
    Incomplete,    // the installer did not arrive whole, or came in a form that is not taken
    ConnectFailed, // no connection, a broken one before the answer, or silence or time past the limits
};

struct ExchangeResult {
    ExchangeOutcome outcome = ExchangeOutcome::ConnectFailed;
    std::string installer; // the bytes, when Downloaded
    std::string status;    // the server's status and reason, when ServerError ("503 Service Unavailable")
    std::string failure;   // why the connection failed, for the log
};

// `pumpEvents` runs between waits; `connected` runs once the request has gone out.
ExchangeResult FetchInstaller(const UpdateServer& server, const std::string& installerName,
                              const ExchangeLimits& limits, const std::function<void()>& pumpEvents,
                              const std::function<void()>& connected = {});

} // namespace tov

#pragma once
// One update check over the network: connect, ask for the installer, read the answer.
// It waits in short slices and lets the caller's events run between them.
#include "update/request.h"

#include <chrono>
#include <functional>
#include <string>

namespace tov {

struct ExchangeLimits {
    std::chrono::milliseconds connect{30000}; // to get a connection at all
    std::chrono::milliseconds silence{30000}; // without a byte from the server, once connected
    std::chrono::milliseconds slice{20};      // longest wait before events run again
};

enum class ExchangeOutcome {
    Downloaded,
    NoUpdate,      // the server has no newer installer (or did not answer 200)
    Incomplete,    // the installer did not arrive whole, or came in a form that is not taken
    ConnectFailed, // no connection, a broken one, or silence past the limit
};

struct ExchangeResult {
    ExchangeOutcome outcome = ExchangeOutcome::ConnectFailed;
    std::string installer; // the bytes, when Downloaded
};

// `pumpEvents` runs between waits (and once after the socket is closed); `connected` runs
// once the connection stands, before the request goes out.
ExchangeResult FetchInstaller(const UpdateServer& server, const std::string& installerName,
                              const ExchangeLimits& limits, const std::function<void()>& pumpEvents,
                              const std::function<void()>& connected = {});

} // namespace tov

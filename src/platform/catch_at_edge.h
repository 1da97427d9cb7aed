#pragma once
// The system calls the program's callbacks (hook procedures, window and dialog procedures,
// subclass procedures, the wake handler) through frames of its own, which no C++ exception
// may cross. Each such callback runs its body through CatchAtEdge: a fault is written to the
// log with what was running, the callback gives its fallback answer, and the program goes on.
#include "platform/platform.h"

#include <exception>
#include <string_view>

namespace tov {

// Writes "<what> failed: <reason>" to the log; never throws. Without a platform it does nothing.
void LogFault(Platform* platform, std::string_view what, std::string_view reason) noexcept;

template <typename Result, typename Body>
Result CatchAtEdge(Platform* platform, std::string_view what, Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& fault) {
        LogFault(platform, what, fault.what());
    } catch (...) {
        LogFault(platform, what, "an exception of an unknown kind");
    }
    return fallback;
}

template <typename Body> void CatchAtEdge(Platform* platform, std::string_view what, Body&& body) noexcept {
    CatchAtEdge(platform, what, false, [&body] {
        body();
        return true;
    });
}

} // namespace tov

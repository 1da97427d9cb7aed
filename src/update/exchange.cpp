#include "update/exchange.h"

#include "platform/http.h"
#include "update/response.h"

namespace tov {

namespace {

using Clock = std::chrono::steady_clock;

ExchangeOutcome OutcomeOf(ResponseVerdict verdict) {
    switch (verdict) {
    case ResponseVerdict::Complete:
        return ExchangeOutcome::Downloaded;
    case ResponseVerdict::NotFound:
        return ExchangeOutcome::NoUpdate;
    case ResponseVerdict::ServerError:
        return ExchangeOutcome::ServerError;
    case ResponseVerdict::Incomplete:
        return ExchangeOutcome::Incomplete;
    case ResponseVerdict::Pending:
    case ResponseVerdict::NoAnswer:
        break;
    }
    return ExchangeOutcome::ConnectFailed;
}

// The exchange stopped before the answer was decided: before its status line, no server to
// speak of was reached; after it, the installer did not come whole.
ExchangeResult CutShort(const UpdateResponse& response, std::string why) {
    ExchangeResult result;
    result.outcome = response.Status().empty() ? ExchangeOutcome::ConnectFailed : ExchangeOutcome::Incomplete;
    result.failure = std::move(why);
    return result;
}

} // namespace

ExchangeResult FetchInstaller(const UpdateServer& server, const std::string& installerName,
                              const ExchangeLimits& limits, const std::function<void()>& pumpEvents,
                              const std::function<void()>& connected) {
    const Clock::time_point deadline = Clock::now() + limits.total;
    Clock::time_point lastHeard = Clock::now();
    UpdateResponse response;
    const auto exchange =
        StartHttpGet(UpdateRequest(installerName, server, kMaxUpdateSize + kMaxHeaderBlock));
    while (!response.Decided()) {
        if (pumpEvents)
            pumpEvents();
        HttpNews news = exchange->Next(limits.slice);
        const Clock::time_point now = Clock::now();
        switch (news.progress) {
        case HttpProgress::Waiting:
            if (now - lastHeard >= limits.silence)
                return CutShort(response, "the server fell silent");
            break;
        case HttpProgress::Sent:
            if (connected)
                connected();
            break;
        case HttpProgress::Answer:
            response.Append(news.bytes);
            break;
        case HttpProgress::Ended:
            response.EndOfStream();
            break;
        case HttpProgress::Failed:
            return CutShort(response, std::move(news.failure));
        }
        if (news.progress != HttpProgress::Waiting)
            lastHeard = now;
        // A server that sends a byte now and then is never silent, but still never done.
        if (!response.Decided() && now >= deadline)
            return CutShort(response, "the exchange took longer than allowed");
    }
    ExchangeResult result;
    result.outcome = OutcomeOf(response.Verdict());
    result.status = response.Status();
    if (result.outcome == ExchangeOutcome::Downloaded)
        result.installer = response.TakeBody();
    return result;
}

} // namespace tov

#include "commands.h"
#include "json.h"

#include "platform/files.h"
#include "update/exchange.h"
#include "update/update.h"

#include <charconv>
#include <cstdio>

namespace tov::ctl {

namespace {

const char* OutcomeName(ExchangeOutcome outcome) {
    switch (outcome) {
    case ExchangeOutcome::Downloaded:
        return "downloaded";
    case ExchangeOutcome::NoUpdate:
        return "no-update";
    case ExchangeOutcome::ServerError:
        return "server-error";
    case ExchangeOutcome::Incomplete:
        return "incomplete";
    case ExchangeOutcome::ConnectFailed:
        break;
    }
    return "connect-failed";
}

int Usage() {
    std::fputs("usage: tovlenctl update-check [--host [https://]host[:port]] [--minor N] [--save folder]\n",
               stderr);
    return 2;
}

} // namespace

// Asks the update server what the program would ask it, and optionally saves the installer
// as the program would (without checking its signature or starting it).
int UpdateCheck(const Args& args) {
    std::string host;
    std::uint16_t minor = TOVLEN_VERSION_MINOR;
    std::string saveFolder;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return Usage();
        const std::string& value = args[i + 1];
        if (args[i] == "--host") {
            host = value;
        } else if (args[i] == "--minor") {
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), minor);
            if (error != std::errc() || end != value.data() + value.size())
                return Usage();
        } else if (args[i] == "--save") {
            saveFolder = value;
        } else {
            return Usage();
        }
    }
    const auto server = ParseUpdateServer(host);
    if (!server)
        return Usage();

    const std::string installerName = InstallerName(minor);
    const ExchangeResult result = FetchInstaller(*server, installerName, ExchangeLimits{}, {});
    json::Writer w;
    w.BeginObject()
        .Field("host", HostHeader(*server))
        .Field("installer", installerName)
        .Field("outcome", OutcomeName(result.outcome))
        .Field("status", result.status)
        .Field("failure", result.failure)
        .Key("bytes")
        .Number(static_cast<std::int64_t>(result.installer.size()));
    if (result.outcome == ExchangeOutcome::Downloaded && !saveFolder.empty()) {
        const std::string path = JoinPath(saveFolder, kUpdateFileName);
        if (ReplaceFileContents(path, result.installer))
            w.Field("saved", path);
        else
            w.Key("saved").Null();
    }
    w.EndObject();
    std::puts(w.Text().c_str());
    return result.outcome == ExchangeOutcome::Downloaded ? 0 : 1;
}

} // namespace tov::ctl

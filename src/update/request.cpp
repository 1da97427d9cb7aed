#include "update/request.h"

#include "base/text.h"

#include <charconv>

namespace tov {

namespace {

constexpr const char* kUpdatesPath = "/updates/";
constexpr const char* kAcceptedTypes = "*.*";
constexpr const char* kUserAgent = "Tovlen Autoupdate";
constexpr std::string_view kHttpPrefix = "http://";
constexpr std::string_view kHttpsPrefix = "https://";

// Takes a leading "http://" or "https://" (any letter case) off `rest`.
std::optional<HttpScheme> TakeScheme(std::string_view& rest) {
    for (const auto& [prefix, scheme] :
         {std::pair{kHttpsPrefix, HttpScheme::Https}, std::pair{kHttpPrefix, HttpScheme::Http}}) {
        if (rest.size() >= prefix.size() && LowerCase(rest.substr(0, prefix.size())) == prefix) {
            rest.remove_prefix(prefix.size());
            return scheme;
        }
    }
    return std::nullopt;
}

bool IsHostNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
}

bool IsIpv6Character(char c) {
    return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || (c >= '0' && c <= '9') || c == ':' || c == '.';
}

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || text.front() == '+' || error != std::errc() || stop != end || value == 0 ||
        value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

} // namespace

std::optional<UpdateServer> ParseUpdateServer(std::string_view text) {
    const std::string trimmed = Trim(text);
    std::string_view rest = trimmed;
    if (rest.empty())
        return UpdateServer{kDefaultUpdateHost, DefaultPort(kDefaultUpdateScheme), kDefaultUpdateScheme};
    UpdateServer server;
    if (const auto scheme = TakeScheme(rest)) {
        server.scheme = *scheme;
        server.port = DefaultPort(*scheme);
        if (rest.ends_with('/'))
            rest.remove_suffix(1);
    }
    if (rest.starts_with('[')) {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos || close == 1)
            return std::nullopt;
        server.host = std::string(rest.substr(1, close - 1));
        for (char c : server.host)
            if (!IsIpv6Character(c))
                return std::nullopt;
        rest.remove_prefix(close + 1);
        if (!rest.empty() && rest.front() != ':')
            return std::nullopt;
    } else {
        const std::size_t colon = rest.find(':');
        server.host = std::string(rest.substr(0, colon));
        rest.remove_prefix(colon == std::string_view::npos ? rest.size() : colon);
        if (server.host.empty())
            return std::nullopt;
        for (char c : server.host)
            if (!IsHostNameCharacter(c))
                return std::nullopt;
    }
    if (!rest.empty()) {
        const auto port = ParsePort(rest.substr(1));
        if (!port)
            return std::nullopt;
        server.port = *port;
    }
    return server;
}

std::string HostHeader(const UpdateServer& server) {
    return HostHeader(server.scheme, server.host, server.port);
}

std::string InstallerName(std::uint16_t minorVersion) {
    return "tovlen1_" + std::to_string(static_cast<unsigned>(minorVersion) + 1) + "_0.exe";
}

HttpGet UpdateRequest(const std::string& installerName, const UpdateServer& server,
                      std::uint64_t answerLimit) {
    return HttpGet{.scheme = server.scheme,
                   .host = server.host,
                   .port = server.port,
                   .path = kUpdatesPath + installerName,
                   .accept = kAcceptedTypes,
                   .userAgent = kUserAgent,
                   .answerLimit = answerLimit};
}

} // namespace tov

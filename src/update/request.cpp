#include "update/request.h"

#include "base/text.h"

#include <charconv>

namespace tov {

namespace {

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
        return UpdateServer{kDefaultUpdateHost, kDefaultUpdatePort};
    UpdateServer server;
    if (rest.front() == '[') {
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
    std::string text = server.host.find(':') == std::string::npos ? server.host : "[" + server.host + "]";
    if (server.port != kDefaultUpdatePort)
        text += ":" + std::to_string(server.port);
    return text;
}

std::string InstallerName(std::uint16_t minorVersion) {
    return "tovlen1_" + std::to_string(static_cast<unsigned>(minorVersion) + 1) + "_0.exe";
}

std::vector<std::string> UpdateRequestLines(const std::string& installerName, const UpdateServer& server) {
    return {
        "GET /updates/" + installerName + " HTTP/1.1\r\n",
        "Accept: *.*\r\n",
        "User-Agent: Tovlen Autoupdate\r\n",
        "Host: " + HostHeader(server) + "\r\n",
        "Connection: close\r\n",
        "\r\n",
    };
}

} // namespace tov

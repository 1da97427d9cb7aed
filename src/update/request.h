#pragma once
// What the program asks the update server: which server, which installer, and the request itself.
#include "platform/http.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tov {

inline constexpr const char* kDefaultUpdateHost = "updates.tovlen.org";
inline constexpr HttpScheme kDefaultUpdateScheme = HttpScheme::Https;
// The setting that points the program at another update server: "host", "host:port",
// "https://host" or "https://host:port" (or "http://...").
inline constexpr const char* kUpdateHostSetting = "updatehost";

struct UpdateServer {
    std::string host; // a name or an address; IPv6 addresses without their brackets
    std::uint16_t port = kHttpPort;
    HttpScheme scheme = HttpScheme::Http;
    bool operator==(const UpdateServer&) const = default;
};

// Reads "host", "host:port", "[v6-address]" or "[v6-address]:port", plain HTTP, or any of them
// after "http://" or "https://" (with at most a "/" after them); blank text means the default
// server, over HTTPS. Nothing when the text is no such thing.
std::optional<UpdateServer> ParseUpdateServer(std::string_view text);

// The server as the Host header names it: the port only when it is not the scheme's own.
std::string HostHeader(const UpdateServer& server);

// "tovlen1_" + (minor + 1) + "_0.exe": the installer of the version after this one.
std::string InstallerName(std::uint16_t minorVersion);

// The GET of the installer: "/updates/" + its name, accepting "*.*", as "Tovlen Autoupdate",
// and the connection closed after the answer; an answer past `answerLimit` bytes is refused.
HttpGet UpdateRequest(const std::string& installerName, const UpdateServer& server,
                      std::uint64_t answerLimit);

} // namespace tov

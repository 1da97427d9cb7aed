#pragma once
// What the program asks the update server: which server, which installer, and the request itself.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

inline constexpr const char* kDefaultUpdateHost = "updates.tovlen.org";
inline constexpr std::uint16_t kDefaultUpdatePort = 80;
// The setting that points the program at another update server: "host" or "host:port".
inline constexpr const char* kUpdateHostSetting = "updatehost";

struct UpdateServer {
    std::string host; // a name or an address; IPv6 addresses without their brackets
    std::uint16_t port = kDefaultUpdatePort;
    bool operator==(const UpdateServer&) const = default;
};

// Reads "host", "host:port", "[v6-address]" or "[v6-address]:port"; blank text means the
// default server. Nothing when the text is no such thing.
std::optional<UpdateServer> ParseUpdateServer(std::string_view text);

// The server as the Host header names it: the port only when it is not 80.
std::string HostHeader(const UpdateServer& server);

// "tovlen1_" + (minor + 1) + "_0.exe": the installer of the version after this one.
std::string InstallerName(std::uint16_t minorVersion);

// The request, as the lines that are sent one after another; each ends in CR LF and
// the last one is the empty line that ends the header block.
std::vector<std::string> UpdateRequestLines(const std::string& installerName, const UpdateServer& server);

} // namespace tov

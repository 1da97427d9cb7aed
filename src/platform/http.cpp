#include "platform/http.h"

namespace tov {

std::uint16_t DefaultPort(HttpScheme scheme) {
    return scheme == HttpScheme::Https ? kHttpsPort : kHttpPort;
}

std::string HostHeader(HttpScheme scheme, const std::string& host, std::uint16_t port) {
    std::string text = host.find(':') == std::string::npos ? host : "[" + host + "]";
    if (port != DefaultPort(scheme))
        text += ":" + std::to_string(port);
    return text;
}

} // namespace tov

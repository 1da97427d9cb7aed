#include "commands.h"
#include "json.h"

#include <cstdio>

namespace tov::ctl {

int Version(const Args&) {
    json::Writer w;
    w.BeginObject()
        .Key("major")
        .Number(TOVLEN_VERSION_MAJOR)
        .Key("minor")
        .Number(TOVLEN_VERSION_MINOR)
        .Key("revision")
        .Number(TOVLEN_VERSION_REVISION)
        .EndObject();
    std::puts(w.Text().c_str());
    return 0;
}

} // namespace tov::ctl

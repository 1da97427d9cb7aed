#include "catalogue/favorites.h"
#include "commands.h"
#include "json.h"

#include <cstdio>

namespace tov::ctl {

int Url(const Args& args) {
    if (args.size() != 1) {
        std::fputs("usage: tovlenctl url FILE\n", stderr);
        return 2;
    }
    json::Writer w;
    w.BeginObject().Field("url", URLRead(args[0])).EndObject();
    std::puts(w.Text().c_str());
    return 0;
}

} // namespace tov::ctl

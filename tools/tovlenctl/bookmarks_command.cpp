#include "catalogue/firefox_bookmarks.h"
#include "commands.h"
#include "json.h"

#include <cstdio>

namespace tov::ctl {

int Bookmarks(const Args& args) {
    if (args.size() != 1) {
        std::fputs("usage: tovlenctl bookmarks FILE\n", stderr);
        return 2;
    }
    json::Writer w;
    w.BeginArray();
    for (const auto& entry : ReadBookmarksFile(args[0]))
        w.BeginObject().Field("name", entry.Name).Field("target", entry.Target).EndObject();
    w.EndArray();
    std::puts(w.Text().c_str());
    return 0;
}

} // namespace tov::ctl

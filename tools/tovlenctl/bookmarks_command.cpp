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
    std::size_t skipped = 0;
    const auto entries = ReadBookmarksFile(args[0], nullptr, &skipped);
    w.BeginObject().Key("entries").BeginArray();
    for (const auto& entry : entries)
        w.BeginObject().Field("name", entry.Name).Field("target", entry.Target).EndObject();
    w.EndArray().Key("skipped_links").Number(static_cast<std::int64_t>(skipped)).EndObject();
    std::puts(w.Text().c_str());
    return 0;
}

} // namespace tov::ctl

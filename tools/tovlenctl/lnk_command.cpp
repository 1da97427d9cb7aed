#include "catalogue/shortcut.h"
#include "commands.h"
#include "json.h"

#include <cstdio>

namespace tov::ctl {

int Lnk(const Args& args) {
    if (args.empty()) {
        std::fputs("usage: tovlenctl lnk FILE...\n", stderr);
        return 2;
    }
    json::Writer w;
    w.BeginArray();
    for (const auto& file : args) {
        ShortcutInfo info;
        const bool ok = ReadShortcut(file, info);
        w.BeginObject()
            .Field("file", file)
            .Key("ok")
            .Bool(ok)
            .Key("attributes")
            .Number(info.Attributes)
            .Field("target", info.Target)
            .Field("description", info.Description)
            .Field("relative_path", info.RelativePath)
            .Field("working_folder", info.WorkingFolder)
            .Field("arguments", info.Arguments)
            .Field("icon_location", info.IconLocation)
            .EndObject();
    }
    w.EndArray();
    std::puts(w.Text().c_str());
    return 0;
}

} // namespace tov::ctl

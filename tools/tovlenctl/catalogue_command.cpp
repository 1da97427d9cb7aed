#include "catalogue_options.h"
#include "commands.h"
#include "json.h"

#include <cstdio>

namespace tov::ctl {

int CatalogueCommand(const Args& args) {
    CatalogueOptions options;
    std::string error;
    if (!ParseCatalogueOptions(args, options, error) || !options.rest.empty()) {
        if (error.empty())
            error = "unknown argument " + options.rest.front();
        std::fprintf(stderr, "tovlenctl catalogue: %s\nusage: tovlenctl catalogue %s\n", error.c_str(),
                     kCatalogueOptionsUsage);
        return 2;
    }
    const Catalogue catalogue = BuildCatalogueFrom(options.sources);
    json::Writer w;
    w.BeginObject().Key("phrases").BeginArray();
    for (const auto& phrase : catalogue.phrases)
        w.String(phrase);
    w.EndArray().Key("table").BeginArray();
    for (const auto& e : catalogue.table)
        w.BeginObject()
            .Field("name", e.Name)
            .Field("target", e.Target)
            .Field("arguments", e.Arguments)
            .Field("working_folder", e.WorkingFolder)
            .Field("icon_location", e.IconLocation)
            .EndObject();
    w.EndArray().Key("custom").BeginArray();
    for (const auto& c : catalogue.custom)
        w.BeginObject().Field("name", c.Name).Field("action", c.Action).EndObject();
    w.EndArray().Key("skipped_links").Number(static_cast<std::int64_t>(catalogue.skippedLinks)).EndObject();
    std::puts(w.Text().c_str());
    return 0;
}

} // namespace tov::ctl

#pragma once
// The console tool's subcommands. Each prints one JSON document on stdout and returns the exit code.
#include <string>
#include <vector>

namespace tov::ctl {

using Args = std::vector<std::string>;

int Version(const Args& args);
int UpdateCheck(const Args& args);
int Lnk(const Args& args);              // lnk FILE...
int Url(const Args& args);              // url FILE
int Bookmarks(const Args& args);        // bookmarks FILE
int CatalogueCommand(const Args& args); // catalogue [catalogue options]
int MatchRanking(const Args& args);     // match TEXT [catalogue options] [usage options]
int KeyNameCommand(const Args& args);   // keyname VK...: the keys' display names

} // namespace tov::ctl

// tovlenctl: shows what Tovlen's catalogue, parsers and ranking make of the files on this machine.
#include "commands.h"

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#ifdef _WIN32
#include "base/text.h"
#include <fcntl.h>
#include <io.h>
#endif

namespace {

int Run(const std::vector<std::string>& args) {
    using Command = std::function<int(const tov::ctl::Args&)>;
    const std::map<std::string, Command> commands = {
        {"version", tov::ctl::Version},
        {"update-check", tov::ctl::UpdateCheck},
        {"lnk", tov::ctl::Lnk},
        {"url", tov::ctl::Url},
        {"bookmarks", tov::ctl::Bookmarks},
        {"catalogue", tov::ctl::CatalogueCommand},
        {"match", tov::ctl::MatchRanking},
        {"keyname", tov::ctl::KeyNameCommand},
    };
    if (args.empty() || !commands.count(args[0])) {
        std::fputs("usage: tovlenctl <command> [options]\ncommands:", stderr);
        for (const auto& [name, command] : commands)
            std::fprintf(stderr, " %s", name.c_str());
        std::fputs("\n", stderr);
        return 2;
    }
    return commands.at(args[0])(tov::ctl::Args(args.begin() + 1, args.end()));
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    // JSON goes out as UTF-8 bytes, whatever the console's code page.
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(tov::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    return Run(args);
}
#else
int main(int argc, char** argv) {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif

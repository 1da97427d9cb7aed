#include "commands.h"
#include "json.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include "platform/win32/make_win32_platform.h"
#else
#include "platform/fake/fake_platform.h"
#endif

namespace tov::ctl {

int KeyNameCommand(const Args& args) {
    if (args.empty()) {
        std::fputs("usage: tovlenctl keyname VK...\n", stderr);
        return 2;
    }
#ifdef _WIN32
    const auto system = MakeWin32Platform();
    Platform& platform = *system;
#else
    FakePlatform platform;
#endif
    json::Writer w;
    w.BeginObject();
    for (const auto& arg : args) {
        char* end = nullptr;
        const unsigned long vk = std::strtoul(arg.c_str(), &end, 0);
        if (arg.empty() || *end != '\0' || vk > 0xFF) {
            std::fprintf(stderr, "not a virtual-key code: %s\n", arg.c_str());
            return 2;
        }
        w.Field(arg, platform.KeyName(static_cast<std::uint32_t>(vk)));
    }
    w.EndObject();
    std::puts(w.Text().c_str());
    return 0;
}

} // namespace tov::ctl

// The entry point of Tovlen.exe. The program is linked for the GUI subsystem, where the
// runtime calls main() too; the platform reads the command line itself.
#include "app/app.h"
#include "app/program.h"
#include "platform/catch_at_edge.h"
#include "platform/win32/make_win32_platform.h"

namespace {

constexpr int kStoppedByFault = 1;

} // namespace

int main() {
    auto platform = tov::MakeWin32Platform();
    const int result = tov::CatchAtEdge(platform.get(), "the program", kStoppedByFault, [&] {
        tov::App app(*platform);
        return tov::RunTovlen(app);
    });
    // A worker past its grace, or an input thread stuck in a handler, may still call the
    // platform: it then stays until the process has ended.
    if (!platform->EndThreads())
        static_cast<void>(platform.release());
    return result;
}

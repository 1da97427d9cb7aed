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
    const auto platform = tov::MakeWin32Platform();
    return tov::CatchAtEdge(platform.get(), "the program", kStoppedByFault, [&] {
        tov::App app(*platform);
        return tov::RunTovlen(app);
    });
}

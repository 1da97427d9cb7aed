#pragma once
// A large Start menu written into a temporary folder: shortcuts as installers write them, 20
// to a folder, in vendor folders of suite folders.
#include "../tests/support/shortcut_writer.h"

#include <filesystem>
#include <random>
#include <string>

namespace tov::bench {

inline constexpr int kShortcutsPerFolder = 20;
inline constexpr int kSuitesPerVendor = 19;

inline testing::LinkSpec TypicalLink(const std::string& program, int n) {
    testing::LinkSpec spec =
        testing::ProgramLink("C:\\Program Files\\" + program + "\\" + program + ".exe",
                             n % 3 == 0 ? "--profile default" : "", "C:\\Program Files\\" + program);
    spec.idList = std::string(320, '\x11'); // the size of a usual item-ID list down to a program
    spec.description = "Starts " + program;
    spec.relativePath = "..\\..\\..\\..\\Program Files\\" + program + "\\" + program + ".exe";
    spec.iconLocation = "C:\\Program Files\\" + program + "\\" + program + ".exe";
    return spec;
}

class StartMenuTree {
  public:
    // `shortcuts` rounded up to whole folders.
    explicit StartMenuTree(int shortcuts) {
        std::random_device random;
        root_ = std::filesystem::temp_directory_path() / ("tovlen-bench-" + std::to_string(random()));
        int n = 0;
        auto fill = [&](const std::filesystem::path& folder) {
            for (int i = 0; i < kShortcutsPerFolder; ++i, ++n) {
                const std::string program = "Program " + std::to_string(n);
                testing::WriteShortcut(folder / (program + ".lnk"), TypicalLink(program, n));
            }
        };
        for (int vendor = 0; n < shortcuts; ++vendor) {
            const auto folder = root_ / ("Vendor " + std::to_string(vendor));
            fill(folder);
            for (int suite = 0; suite < kSuitesPerVendor && n < shortcuts; ++suite)
                fill(folder / ("Suite " + std::to_string(suite)));
        }
        count_ = n;
    }
    ~StartMenuTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    StartMenuTree(const StartMenuTree&) = delete;
    StartMenuTree& operator=(const StartMenuTree&) = delete;

    std::string Root() const { return root_.string(); }
    int Count() const { return count_; }

  private:
    std::filesystem::path root_;
    int count_ = 0;
};

} // namespace tov::bench

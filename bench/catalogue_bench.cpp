// The catalogue build over a large Start menu: 10,000 shortcuts in 500 folders, written once
// into a temporary folder (the file cache is warm after the first pass), and the link reader
// alone on one shortcut held in memory.
//   tovlen_bench --benchmark_filter='BM_(BuildCatalogue|ParseShortcut)'
#include "../tests/support/shortcut_writer.h"
#include "catalogue/build.h"
#include "catalogue/shortcut.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

namespace tov {
namespace {

constexpr int kTopFolders = 25;
constexpr int kSubfoldersEach = 19;     // 25 + 25 * 19 = 500 folders
constexpr int kShortcutsPerFolder = 20; // 500 * 20 = 10,000 shortcuts
constexpr int kShortcuts = (kTopFolders + kTopFolders * kSubfoldersEach) * kShortcutsPerFolder;

testing::LinkSpec TypicalLink(const std::string& program, int n) {
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
    StartMenuTree() {
        std::random_device random;
        root_ = std::filesystem::temp_directory_path() / ("tovlen-bench-" + std::to_string(random()));
        int n = 0;
        auto fill = [&](const std::filesystem::path& folder) {
            for (int i = 0; i < kShortcutsPerFolder; ++i, ++n) {
                const std::string program = "Program " + std::to_string(n);
                testing::WriteShortcut(folder / (program + ".lnk"), TypicalLink(program, n));
            }
        };
        for (int top = 0; top < kTopFolders; ++top) {
            const auto vendor = root_ / ("Vendor " + std::to_string(top));
            fill(vendor);
            for (int sub = 0; sub < kSubfoldersEach; ++sub)
                fill(vendor / ("Suite " + std::to_string(sub)));
        }
    }
    ~StartMenuTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    std::string Root() const { return root_.string(); }

  private:
    std::filesystem::path root_;
};

void BM_BuildCatalogue(benchmark::State& state) {
    static const StartMenuTree tree;
    CatalogueSources sources;
    sources.commonPrograms = tree.Root();
    Catalogue catalogue;
    for (auto _ : state) {
        catalogue = BuildCatalogue(sources);
        benchmark::DoNotOptimize(catalogue.table.data());
    }
    if (catalogue.table.size() != static_cast<std::size_t>(kShortcuts))
        state.SkipWithError("the catalogue did not take every shortcut");
    state.counters["shortcuts/s"] =
        benchmark::Counter(static_cast<double>(kShortcuts) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BuildCatalogue)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ParseShortcut(benchmark::State& state) {
    const std::string bytes = testing::ShortcutBytes(TypicalLink("Example Program", 0));
    ShortcutInfo info;
    for (auto _ : state) {
        ParseShortcut(bytes, info);
        benchmark::DoNotOptimize(info.Target.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes.size()) * state.iterations());
}
BENCHMARK(BM_ParseShortcut);

} // namespace
} // namespace tov

// The catalogue build over a large Start menu: 10,000 shortcuts in 500 folders, written once
// into a temporary folder (the file cache is warm after the first pass), and the link reader
// alone on one shortcut held in memory.
//   tovlen_bench --benchmark_filter='BM_(BuildCatalogue|ParseShortcut)'
#include "catalogue/build.h"
#include "catalogue/shortcut.h"
#include "start_menu_tree.h"

#include <benchmark/benchmark.h>

namespace tov {
namespace {

constexpr int kShortcuts = 10'000;
using bench::StartMenuTree;
using bench::TypicalLink;

void BM_BuildCatalogue(benchmark::State& state) {
    static const StartMenuTree tree(kShortcuts);
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

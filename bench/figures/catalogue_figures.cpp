// Figures for the README: the catalogue build over Start menus of the sizes given on the
// command line, with the file cache warm and cold, and the memory the built catalogue takes, of
// which the match forms (what near matches need of each phrase) are a part.
// "Cold" drops the shortcut files' pages from the cache (posix_fadvise), which needs no
// privileges; the folders' own entries stay cached, so a cold disk is slower still.
//   tovlen_catalogue_figures 10000 50000
#include "../start_menu_tree.h"
#include "catalogue/build.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <malloc.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWarmRuns = 5;
constexpr int kColdRuns = 3;

void DropFromCache(const std::string& root) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        const int fd = open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        fdatasync(fd);
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        close(fd);
    }
}

double TimedBuildMs(const tov::CatalogueSources& sources, std::size_t expected) {
    const auto start = std::chrono::steady_clock::now();
    const tov::Catalogue catalogue = tov::BuildCatalogue(sources);
    const auto took = std::chrono::steady_clock::now() - start;
    if (catalogue.table.size() != expected) {
        std::fprintf(stderr, "the catalogue took %zu of %zu shortcuts\n", catalogue.table.size(), expected);
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(took).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    std::printf("%-10s %14s %14s %16s\n", "shortcuts", "warm build", "cold build", "catalogue memory");
    for (int i = 1; i < argc; ++i) {
        const tov::bench::StartMenuTree tree(std::atoi(argv[i]));
        tov::CatalogueSources sources;
        sources.commonPrograms = tree.Root();
        const auto expected = static_cast<std::size_t>(tree.Count());

        std::vector<double> cold;
        for (int run = 0; run < kColdRuns; ++run) {
            DropFromCache(tree.Root());
            cold.push_back(TimedBuildMs(sources, expected));
        }
        std::vector<double> warm;
        for (int run = 0; run < kWarmRuns; ++run)
            warm.push_back(TimedBuildMs(sources, expected));

        const std::size_t before = mallinfo2().uordblks;
        const tov::Catalogue kept = tov::BuildCatalogue(sources);
        const std::size_t memory = mallinfo2().uordblks - before;

        // What a build keeps of the shortcuts it read, so that the next one reads only changes.
        auto read = std::make_shared<tov::ShortcutMemory>();
        tov::CatalogueSources remembering = sources;
        remembering.shortcutsRead = read.get();
        const std::size_t beforeRead = mallinfo2().uordblks;
        TimedBuildMs(remembering, expected);
        const std::size_t readMemory = mallinfo2().uordblks - beforeRead;
        tov::CatalogueSources rebuilding = sources;
        rebuilding.knownShortcuts = read;
        std::vector<double> rebuilds;
        for (int run = 0; run < kWarmRuns; ++run) {
            // As the program rebuilds: from the last build's reads, keeping its own for the next.
            tov::ShortcutMemory reads;
            rebuilding.shortcutsRead = &reads;
            rebuilds.push_back(TimedBuildMs(rebuilding, expected));
        }

        const std::size_t forms = kept.forms.bytes.capacity() +
                                  kept.forms.phrases.capacity() * sizeof(tov::PhraseForms) +
                                  kept.forms.pairs.capacity() * sizeof(tov::PairSet);
        std::printf(
            "%-10d %11.0f ms %11.0f ms %13.1f MB  (%.0f bytes an entry; match forms %.2f MB, the whole "
            "%.2f x the catalogue without them)\n",
            tree.Count(), Median(warm), Median(cold), static_cast<double>(memory) / (1 << 20),
            static_cast<double>(memory) / static_cast<double>(kept.table.size()),
            static_cast<double>(forms) / (1 << 20),
            static_cast<double>(memory) / static_cast<double>(memory - forms));
        std::printf(
            "%-10s rebuild from the last build's reads, keeping its own, %.0f ms; the reads keep %.1f MB\n",
            "", Median(rebuilds), static_cast<double>(readMemory) / (1 << 20));
    }
    return 0;
}

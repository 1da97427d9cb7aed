// The readers of files other programs (and people) write, on inputs of 1 and 10 MB: a
// bookmarks file as Firefox writes it, one of unclosed anchors (each once took the rest of the
// file as its title), a list file of records and one of nothing but line breaks. Besides the
// time, `peak_MB` is how far the process's peak resident memory rose during one read.
//   tovlen_bench --benchmark_filter='BM_(Bookmarks|ListFile)'
#include "catalogue/firefox_bookmarks.h"
#include "catalogue/list_file.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <functional>
#include <malloc.h>
#include <string>

namespace tov {
namespace {

constexpr std::size_t kMegabyte = 1u << 20;

std::string Repeated(std::size_t size, const std::function<std::string(std::size_t)>& piece) {
    std::string out;
    out.reserve(size + kMegabyte);
    for (std::size_t n = 0; out.size() < size; ++n)
        out += piece(n);
    return out;
}

std::string FirefoxBookmarks(std::size_t size) {
    return Repeated(size, [](std::size_t n) {
        return "<DT><A HREF=\"https://example.com/pages/" + std::to_string(n) +
               "\" ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1600000000\">Example page " + std::to_string(n) +
               "</A>\n";
    });
}

std::string UnclosedAnchors(std::size_t size) {
    return Repeated(size, [](std::size_t) { return std::string("<a href=\"https://x/\">\n"); }) + "</a>";
}

std::string CommandRecords(std::size_t size) {
    return Repeated(size, [](std::size_t n) {
        return "tool " + std::to_string(n) + "\r\nrun C:\\Program Files\\Tool " + std::to_string(n) +
               "\\tool.exe\r\n";
    });
}

std::string LineBreaks(std::size_t size) {
    return std::string(size, '\n');
}

// Kilobytes of a line of /proc/self/status ("VmHWM:", "VmRSS:").
long StatusKilobytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == key) {
            long kilobytes = 0;
            status >> kilobytes;
            return kilobytes;
        }
    return 0;
}

// How far the peak resident memory rises while `work` runs once.
double PeakMegabytes(const std::function<void()>& work) {
    malloc_trim(0); // memory freed earlier would otherwise be reused without showing
    std::ofstream("/proc/self/clear_refs") << "5"; // resets the peak to what is resident now
    const long before = StatusKilobytes("VmRSS:");
    work();
    return static_cast<double>(StatusKilobytes("VmHWM:") - before) / 1024.0;
}

void Run(benchmark::State& state, const std::string& input,
         const std::function<std::size_t(const std::string&)>& read) {
    std::size_t kept = 0;
    state.counters["peak_MB"] = PeakMegabytes([&] { kept = read(input); });
    for (auto _ : state)
        benchmark::DoNotOptimize(read(input));
    state.counters["kept"] = static_cast<double>(kept);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

std::size_t ReadBookmarks(const std::string& input) {
    return ParseBookmarks(input).size();
}

std::size_t ReadList(const std::string& input) {
    return DecodeListFile(input, kWesternCodePage).lines.size();
}

void BM_BookmarksFirefox(benchmark::State& state) {
    Run(state, FirefoxBookmarks(static_cast<std::size_t>(state.range(0)) * kMegabyte), ReadBookmarks);
}
void BM_BookmarksUnclosed(benchmark::State& state) {
    Run(state, UnclosedAnchors(static_cast<std::size_t>(state.range(0)) * kMegabyte), ReadBookmarks);
}
void BM_ListFileRecords(benchmark::State& state) {
    Run(state, CommandRecords(static_cast<std::size_t>(state.range(0)) * kMegabyte), ReadList);
}
void BM_ListFileLineBreaks(benchmark::State& state) {
    Run(state, LineBreaks(static_cast<std::size_t>(state.range(0)) * kMegabyte), ReadList);
}

BENCHMARK(BM_BookmarksFirefox)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BookmarksUnclosed)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListFileRecords)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListFileLineBreaks)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tov

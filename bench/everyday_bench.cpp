// What the calculator and the rows' keys add to the refresh of every key: recognising a line
// that is no sum (the usual case, beside the ranking's microseconds), evaluating one that is,
// and finding which keys the shown rows take, each looked up by name in the command table.
//   tovlen_bench --benchmark_filter='BM_(NoSum|Sum|RowKeys)' --benchmark_repetitions=10
#include "catalogue/catalogue.h"
#include "suggest/calculator.h"
#include "suggest/row_keys.h"

#include <benchmark/benchmark.h>

#include <array>
#include <map>
#include <string>
#include <vector>

namespace tov {
namespace {

// The typed texts of the ranking's benchmark, and a line of the command line's whole length.
constexpr std::array kWords = {"n", "not", "notepa", "run notepad"};
constexpr std::size_t kShownRows = 10;

std::string LongestSum() {
    std::string sum = "1";
    while (sum.size() + 4 <= kMaxExpressionBytes)
        sum += "*1.5";
    return sum;
}

// As the line does it: only a line that may be arithmetic asks for the locale and is evaluated.
void BM_NoSum(benchmark::State& state) {
    const std::string_view line = kWords[static_cast<std::size_t>(state.range(0))];
    for (auto _ : state) {
        std::optional<std::string> result;
        if (MayBeArithmetic(line))
            result = Calculate(line, ".");
        benchmark::DoNotOptimize(result);
    }
}

void BM_Sum(benchmark::State& state) {
    const std::string line = state.range(0) == 0 ? std::string("12*(3+4)") : LongestSum();
    for (auto _ : state) {
        std::optional<std::string> result;
        if (MayBeArithmetic(line))
            result = Calculate(line, ".");
        benchmark::DoNotOptimize(result);
    }
    state.counters["bytes"] = static_cast<double>(line.size());
}

const Catalogue& CatalogueOf(std::size_t programs) {
    static std::map<std::size_t, Catalogue> cache;
    auto [it, fresh] = cache.try_emplace(programs);
    Catalogue& c = it->second;
    if (!fresh)
        return c;
    for (std::size_t i = 0; i < programs; ++i)
        AddCommandEntry(
            c, {"C:\\Program Files\\Vendor " + std::to_string(i % 97) + "\\app" + std::to_string(i) + ".exe",
                "Vendor " + std::to_string(i % 97) + " Program " + std::to_string(i),
                {},
                {},
                {}});
    IndexCommandTable(c); // as a build leaves it
    return c;
}

// The rows of a refresh: ten run phrases spread over the table, the last one near its end.
void BM_RowKeys(benchmark::State& state) {
    const Catalogue& catalogue = CatalogueOf(static_cast<std::size_t>(state.range(0)));
    std::vector<std::string_view> rows;
    for (std::size_t i = 0; i < kShownRows; ++i)
        rows.push_back(catalogue.phrases[(i + 1) * (catalogue.phrases.size() - 1) / kShownRows]);
    for (auto _ : state)
        benchmark::DoNotOptimize(KeysOfPhrases(catalogue, rows));
}

BENCHMARK(BM_NoSum)->DenseRange(0, kWords.size() - 1)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_Sum)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RowKeys)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tov

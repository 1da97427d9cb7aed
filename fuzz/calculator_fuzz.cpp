// Arithmetic in the command line: whatever is typed, the evaluation stays within its nesting
// bound, and a result it gives is finite and reads back, after "=", as the same number.
#include "suggest/calculator.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// The separators of the world's locales that the first byte chooses between.
constexpr std::string_view kSeparators[] = {".", ",", "\xD9\xAB", "+"};
constexpr double kFifteenDigits = 1e-14;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view separator = kSeparators[data[0] % std::size(kSeparators)];
    const std::string_view line(reinterpret_cast<const char*>(data) + 1, size - 1);
    const tov::Evaluation evaluation = tov::Evaluate(line, separator);
    if (evaluation.deepest > tov::kMaxExpressionDepth)
        std::abort();
    if (!evaluation.value)
        return 0;
    const double value = *evaluation.value;
    if (!std::isfinite(value))
        std::abort();
    const std::string shown = tov::FormatResult(value, separator);
    if (tov::Calculate(line, separator) != shown)
        std::abort();
    const tov::Evaluation again = tov::Evaluate("=" + shown, separator);
    if (!again.value || std::fabs(*again.value - value) > kFifteenDigits * std::fabs(value))
        std::abort();
    return 0;
}

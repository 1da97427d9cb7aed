#pragma once
// Arithmetic typed into the command line: numbers with + - * / ^ %, parentheses and the
// locale's decimal separator, with a leading (or trailing) "=" allowed. The line shows the
// result and Enter copies it; any other line is left to the phrases.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tov {

// The longest line worth evaluating: the command line itself holds no more.
inline constexpr std::size_t kMaxExpressionBytes = 1024;
// Parentheses, signs and powers nest at most this deep; deeper is taken as malformed.
inline constexpr int kMaxExpressionDepth = 64;

// Whether `line` may be arithmetic at all, decided by its first character so that a line of
// words costs nothing more: only such a line is worth asking the locale and evaluating.
bool MayBeArithmetic(std::string_view line);

struct Evaluation {
    // None when the line is no calculation: not arithmetic, malformed, a bare number without
    // "=", a division by zero, or a result or step beyond what a double holds.
    std::optional<double> value;
    int deepest = 0; // how deep the evaluation nested
};

// Evaluates the line. Precedence from the loosest: + and -; * and /; a sign; ^ (right to left,
// so 2^3^2 is 2^9, and -2^2 is -4); a trailing % (a hundredth). A percentage added to or taken
// from a value is a share of that value, as on a desk calculator: 200 + 10% is 220. Numbers
// are written with `decimalSeparator` (a separator that could be mistaken for an operator or
// a digit is replaced by "."), optionally with an exponent as results are shown ("1e+20").
Evaluation Evaluate(std::string_view line, std::string_view decimalSeparator);

// A result as the line shows it: an integer up to 2^53 exactly, anything else to 15
// significant digits, with `decimalSeparator`; large and tiny values with an exponent.
std::string FormatResult(double value, std::string_view decimalSeparator);

// The shown result of a line that is a calculation; none for any other line.
std::optional<std::string> Calculate(std::string_view line, std::string_view decimalSeparator);

// The row of the suggestions that holds the result, and the completion behind the typed line.
std::string ResultRow(std::string_view result);
std::string ResultCompletion(std::string_view line, std::string_view result);

} // namespace tov

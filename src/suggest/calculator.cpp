#include "suggest/calculator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tov {

namespace {

constexpr std::string_view kPlainSeparator = ".";
// What a separator must not hold, or numbers could not be told from what surrounds them.
constexpr std::string_view kNotInSeparator = "0123456789+-*/^%()=eE \t";
constexpr double kLargestExactInteger = 9007199254740992.0; // 2^53
constexpr int kSignificantDigits = 15;
constexpr std::size_t kFormattedCapacity = 32; // "-1.23456789012345e-308" and room to spare
constexpr double kPercent = 100.0;
constexpr std::string_view kResultMark = "= ";
// Besides digits, what arithmetic can start with: a sign, "=", "(", a blank, or the decimal
// separators of the world's locales when the leading 0 is left out (".5", ",5").
constexpr std::string_view kFirstCharacters = "+-=( .,";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view UsableSeparator(std::string_view separator) {
    if (separator.empty() || separator.find_first_of(kNotInSeparator) != std::string_view::npos)
        return kPlainSeparator;
    return separator;
}

// A value and whether it is a bare percentage, which + and - take as a share of their left side.
struct Term {
    double value = 0;
    bool percentage = false;
};

// Recursive descent over the line. Any fault sets `failed`; from then on the result is thrown away.
class Parser {
  public:
    Parser(std::string_view text, std::string_view separator) : text_(text), separator_(separator) {}

    std::optional<double> Line() {
        SkipBlanks();
        bool calculation = Take('=');
        const Term result = Sum();
        SkipBlanks();
        Take('=');
        SkipBlanks();
        calculation = calculation || operators_ > 0;
        if (failed_ || at_ != text_.size() || !calculation)
            return std::nullopt;
        return result.value;
    }

    int Deepest() const { return deepest_; }

  private:
    Term Sum() {
        Term left = Product();
        while (!failed_) {
            SkipBlanks();
            const char op = Peek();
            if (op != '+' && op != '-')
                break;
            ++at_;
            ++operators_;
            Term right = Product();
            if (right.percentage)
                right.value *= left.value;
            left = Checked({op == '+' ? left.value + right.value : left.value - right.value, false});
        }
        return left;
    }

    Term Product() {
        Term left = Signed();
        while (!failed_) {
            SkipBlanks();
            const char op = Peek();
            if (op != '*' && op != '/')
                break;
            ++at_;
            ++operators_;
            const Term right = Signed();
            if (op == '/' && right.value == 0)
                return Fail();
            left = Checked({op == '*' ? left.value * right.value : left.value / right.value, false});
        }
        return left;
    }

    Term Signed() {
        SkipBlanks();
        const char sign = Peek();
        if (sign != '+' && sign != '-')
            return Power();
        ++at_;
        ++operators_;
        const Nesting nest(*this);
        if (failed_)
            return {};
        Term operand = Signed();
        if (sign == '-')
            operand.value = -operand.value;
        return operand;
    }

    Term Power() {
        const Term base = Percentage();
        SkipBlanks();
        if (failed_ || !Take('^'))
            return base;
        ++operators_;
        const Nesting nest(*this);
        if (failed_)
            return {};
        const Term exponent = Signed(); // 2^-1; and 2^3^2 is 2^(3^2)
        return Checked({std::pow(base.value, exponent.value), false});
    }

    Term Percentage() {
        Term value = Primary();
        SkipBlanks();
        while (!failed_ && Take('%')) {
            ++operators_;
            value = {value.value / kPercent, true};
            SkipBlanks();
        }
        return value;
    }

    Term Primary() {
        SkipBlanks();
        if (!Take('('))
            return Number();
        const Nesting nest(*this);
        if (failed_)
            return {};
        const Term inner = Sum();
        SkipBlanks();
        if (!Take(')'))
            return Fail();
        return {inner.value, false}; // a share is a share only where it is written
    }

    Term Number() {
        // The digits, with the locale's separator, and an exponent as results are shown.
        std::string plain;
        const std::size_t start = at_;
        while (at_ < text_.size() && IsDigit(text_[at_]))
            plain += text_[at_++];
        if (text_.substr(at_).starts_with(separator_)) {
            at_ += separator_.size();
            plain += '.';
            while (at_ < text_.size() && IsDigit(text_[at_]))
                plain += text_[at_++];
        }
        const bool hasDigits = plain.find_first_of("0123456789") != std::string::npos;
        if (!hasDigits)
            return Fail();
        if (Peek() == 'e' || Peek() == 'E') {
            plain += text_[at_++];
            if (Peek() == '+' || Peek() == '-')
                plain += text_[at_++];
            if (!IsDigit(Peek()))
                return Fail();
            while (at_ < text_.size() && IsDigit(text_[at_]))
                plain += text_[at_++];
        }
        // Only digits, a point and an exponent reach strtod, so it reads nothing else (no "inf",
        // no hexadecimal); the program keeps the C runtime's classic locale, whose point is ".".
        char* end = nullptr;
        const double value = std::strtod(plain.c_str(), &end);
        if (end != plain.c_str() + plain.size() || at_ == start)
            return Fail();
        return Checked({value, false});
    }

    // Counts one level of nesting while it lives; past the bound the parse fails instead.
    class Nesting {
      public:
        explicit Nesting(Parser& parser) : parser_(parser) {
            if (++parser_.depth_ > kMaxExpressionDepth)
                parser_.Fail();
            else if (parser_.depth_ > parser_.deepest_)
                parser_.deepest_ = parser_.depth_;
        }
        ~Nesting() { --parser_.depth_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

      private:
        Parser& parser_;
    };

    // Overflow fails; a value too small to be written back exactly is taken as the 0 it nearly is.
    Term Checked(Term term) {
        if (!std::isfinite(term.value))
            return Fail();
        if (std::fpclassify(term.value) == FP_SUBNORMAL)
            term.value = 0;
        return term;
    }

    Term Fail() {
        failed_ = true;
        at_ = text_.size();
        return {};
    }

    char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }

    bool Take(char c) {
        if (Peek() != c)
            return false;
        ++at_;
        return true;
    }

    void SkipBlanks() {
        while (Peek() == ' ')
            ++at_;
    }

    std::string_view text_;
    std::string_view separator_;
    std::size_t at_ = 0;
    int depth_ = 0;
    int deepest_ = 0;
    int operators_ = 0;
    bool failed_ = false;
};

} // namespace

bool MayBeArithmetic(std::string_view line) {
    if (line.empty() || line.size() > kMaxExpressionBytes)
        return false;
    const char first = line.front();
    return IsDigit(first) || kFirstCharacters.find(first) != std::string_view::npos;
}

Evaluation Evaluate(std::string_view line, std::string_view decimalSeparator) {
    if (line.size() > kMaxExpressionBytes)
        return {};
    Parser parser(line, UsableSeparator(decimalSeparator));
    Evaluation result;
    result.value = parser.Line();
    result.deepest = parser.Deepest();
    return result;
}

std::string FormatResult(double value, std::string_view decimalSeparator) {
    if (value == 0)
        return "0"; // not "-0"
    // The C runtime's formatting rather than std::to_chars, whose tables would add a quarter of
    // a megabyte to the program.
    char buffer[kFormattedCapacity];
    const bool exact = std::trunc(value) == value && std::fabs(value) <= kLargestExactInteger;
    const int length = exact ? std::snprintf(buffer, sizeof buffer, "%.0f", value)
                             : std::snprintf(buffer, sizeof buffer, "%.*g", kSignificantDigits, value);
    std::string text(buffer, static_cast<std::size_t>(std::max(length, 0)));
    const auto point = text.find_first_not_of("0123456789+-e");
    if (point != std::string::npos)
        text.replace(point, 1, UsableSeparator(decimalSeparator));
    return text;
}

std::optional<std::string> Calculate(std::string_view line, std::string_view decimalSeparator) {
    const Evaluation evaluation = Evaluate(line, decimalSeparator);
    if (!evaluation.value)
        return std::nullopt;
    return FormatResult(*evaluation.value, decimalSeparator);
}

std::string ResultRow(std::string_view result) {
    return std::string(kResultMark) + std::string(result);
}

std::string ResultCompletion(std::string_view line, std::string_view result) {
    std::string completion(line);
    if (!completion.empty() && completion.back() != ' ')
        completion += ' ';
    return completion + ResultRow(result);
}

} // namespace tov

#include "suggest/calculator.h"

#include <gtest/gtest.h>

#include <string>

namespace tov {
namespace {

struct Case {
    const char* line;
    const char* separator;
    const char* shown; // nullptr: the line is no calculation
};

void ExpectCases(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        const std::optional<std::string> shown = Calculate(c.line, c.separator);
        if (c.shown)
            EXPECT_EQ(shown.value_or("(nothing)"), c.shown) << c.line;
        else
            EXPECT_FALSE(shown) << c.line << " gave " << *shown;
    }
}

TEST(Calculator, PrecedenceAndAssociativity) {
    ExpectCases({
        {"12*(3+4)", ".", "84"},
        {"2+3*4", ".", "14"},
        {"(2+3)*4", ".", "20"},
        {"10-4-3", ".", "3"},  // minus goes left to right
        {"64/4/2", ".", "8"},  // and so does division
        {"2^3^2", ".", "512"}, // power goes right to left
        {"2*3^2", ".", "18"},  // and binds tighter than a product
        {"-2^2", ".", "-4"},   // and than a sign
        {"2^-1", ".", "0.5"},  // a sign may start the exponent
        {"--3", ".", "3"},
        {"-(2+3)", ".", "-5"},
        {" 1 +  2 ", ".", "3"}, // blanks anywhere between the parts
        {"=7", ".", "7"},       // "=" makes a bare number a calculation
        {"= 6*7", ".", "42"},
        {"6*7=", ".", "42"},
    });
}

TEST(Calculator, PercentIsAHundredthOrAShareOfWhatItIsAddedTo) {
    ExpectCases({
        {"50%", ".", "0.5"},
        {"200*10%", ".", "20"},
        {"200+10%", ".", "220"},
        {"200-10%", ".", "180"},
        {"200+(10%)", ".", "200.1"}, // in parentheses it is a plain hundredth
        {"200+10%*2", ".", "200.2"}, // and in a product too
        {"2^50%", ".", "1.4142135623731"},
    });
}

TEST(Calculator, ResultsAreExactIntegersOrFifteenDigits) {
    ExpectCases({
        {"2^53", ".", "9007199254740992"},
        {"-2^53", ".", "-9007199254740992"},
        {"2^53+2", ".", "9.00719925474099e+15"},
        {"1/3", ".", "0.333333333333333"},
        {"0.1+0.2", ".", "0.3"},
        {"2/3*3", ".", "2"},
        {"0-0", ".", "0"},
        {"-0*1", ".", "0"},
        {"1e300*1e5", ".", "1e+305"},
        {"1e-5/4", ".", "2.5e-06"},
        {"1e-300/1e300", ".", "0"}, // beyond the smallest double
        {"1e-300*1e-20", ".", "0"},
    });
}

TEST(Calculator, NumbersAreWrittenWithTheLocalesSeparator) {
    ExpectCases({
        {"1,5+1", ",", "2,5"},
        {",5*3", ",", "1,5"},
        {"1.5+1", ",", nullptr}, // the other separator is not the locale's
        {"1,5+1", ".", nullptr},
        {"1٫5+1", "٫", "2٫5"}, // a separator of more than one byte
        {"1.5+1", "+", "2.5"}, // a separator that reads as an operator is not taken
        {"1.5+1", "", "2.5"},
    });
}

TEST(Calculator, WhatIsNoCalculationShowsNothing) {
    ExpectCases({
        {"42", ".", nullptr},  // a bare number is no calculation
        {"1e5", ".", nullptr}, // nor is one with an exponent
        {"notepad", ".", nullptr},
        {"7zip+1", ".", nullptr},
        {"2+", ".", nullptr},
        {"*2", ".", nullptr},
        {"(1+2", ".", nullptr},
        {"1+2)", ".", nullptr},
        {"()", ".", nullptr},
        {"2 3", ".", nullptr},
        {"2(3)", ".", nullptr},
        {"1..2+1", ".", nullptr},
        {"1e+", ".", nullptr},
        {"=", ".", nullptr},
        {"2==2", ".", nullptr},
        {"", ".", nullptr},
    });
}

TEST(Calculator, DivisionByZeroAndOverflowShowNothing) {
    ExpectCases({
        {"1/0", ".", nullptr},
        {"0/0", ".", nullptr},
        {"5/(2-2)", ".", nullptr},
        {"0^-1", ".", nullptr},
        {"10^400", ".", nullptr},
        {"1e308*10", ".", nullptr},
        {"1e999+1", ".", nullptr},
        {"(-8)^(1/3)", ".", nullptr}, // no real root is taken
    });
}

std::string Nested(int depth, const std::string& inner) {
    return std::string(static_cast<std::size_t>(depth), '(') + inner +
           std::string(static_cast<std::size_t>(depth), ')');
}

TEST(Calculator, NestingAndLengthAreBounded) {
    const Evaluation deepest = Evaluate(Nested(kMaxExpressionDepth, "1+1"), ".");
    EXPECT_EQ(deepest.value, 2);
    EXPECT_EQ(deepest.deepest, kMaxExpressionDepth);
    for (const std::string& line : {Nested(kMaxExpressionDepth + 1, "1+1"), std::string(2000, '(') + "1",
                                    std::string(500, '-') + "1", "2" + std::string(500, '^') + "2"}) {
        const Evaluation tooDeep = Evaluate(line, ".");
        EXPECT_FALSE(tooDeep.value) << line.substr(0, 20);
        EXPECT_LE(tooDeep.deepest, kMaxExpressionDepth) << line.substr(0, 20);
    }

    std::string longest = "1";
    while (longest.size() + 2 <= kMaxExpressionBytes)
        longest += "+1";
    EXPECT_EQ(Calculate(longest, "."), std::to_string((kMaxExpressionBytes + 1) / 2));
    longest.resize(kMaxExpressionBytes, ' ');
    EXPECT_TRUE(Calculate(longest, "."));
    EXPECT_FALSE(Calculate(longest + " ", ".")) << "a line longer than the command line holds";
}

TEST(Calculator, OnlyLinesThatCanBeArithmeticAreEvaluated) {
    for (const char* line : {"12*(3+4)", "=2", "-1+1", "(1)+1", ".5+1", ",5+1", " 1+1"})
        EXPECT_TRUE(MayBeArithmetic(line)) << line;
    for (const char* line : {"", "notepad", "run 7zip", "e5+1", "%1"})
        EXPECT_FALSE(MayBeArithmetic(line)) << line;
}

TEST(Calculator, TheResultStandsBehindTheTypedLineAndAsARow) {
    EXPECT_EQ(ResultRow("84"), "= 84");
    EXPECT_EQ(ResultCompletion("12*(3+4)", "84"), "12*(3+4) = 84");
    EXPECT_EQ(ResultCompletion("12*(3+4) ", "84"), "12*(3+4) = 84");
}

} // namespace
} // namespace tov

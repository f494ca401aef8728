// fnSum and fnProduct compile a term without calls once; their results must be what evaluating
// each term's text (the value written in as exact text) and folding gives, errors included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "c_number.h"
#include "engine.h"

namespace {

struct FoldCase {
    const char* expression;
    const char* variable;
    // As written in the call; the fold written out evaluates them the same way.
    const char* start;
    const char* end;
    const char* step;
};

std::ostream& operator<<(std::ostream& out, const FoldCase& c)
{
    return out << c.expression << " over " << c.variable;
}

std::string substituted(const std::string& expression, const std::string& variable, double value)
{
    const std::string replacement = "(" + cnum::exactDecimal(value) + ")";
    std::string text;
    std::size_t from = 0;
    for (std::size_t at = expression.find(variable); at != std::string::npos; at = expression.find(variable, from)) {
        text += expression.substr(from, at - from) + replacement;
        from = at + variable.size();
    }
    return text + expression.substr(from);
}

struct Folded {
    double value = 0.0;
    int error = 0;
};

double valueOf(const char* text)
{
    Engine engine;
    const ValueCell value = engine.evaluate(text, Engine::kModeScalar, 10);
    EXPECT_EQ(engine.error(), 0) << text;
    return value.re;
}

// The fold written out: each term's text evaluated on its own, as the calculator did it, and
// the total as the calling text reads it back.
Folded foldByText(const FoldCase& c, bool product)
{
    Engine engine;
    engine.settings.angleMode = AngleMode::Radians;
    const double start = valueOf(c.start);
    const double end = valueOf(c.end);
    const double step = valueOf(c.step);
    double total = product ? 1.0 : 0.0;
    for (double k = 0.0;; k += 1.0) {
        const double v = start + k * step;
        if (step > 0.0 ? v > end : v < end)
            break;
        const ValueCell term = engine.evaluate(substituted(c.expression, c.variable, v), Engine::kModeScalar, 10);
        if (engine.error() == 0 && term.kind != ValueKind::Real && term.im != 0.0)
            engine.raise(ErrorCode::kComplexUnsupported);
        if (engine.error() != 0)
            return {0.0, engine.error()};
        total = product ? total * term.re : total + term.re;
    }
    if (!std::isfinite(total))
        return {0.0, ErrorCode::kInfiniteResult};
    if (total > 1e305)
        return {0.0, ErrorCode::kOutOfRange};
    // The call's result goes back into its text as exact text: the total itself.
    return {total, 0};
}

Folded foldByCall(const FoldCase& c, bool product)
{
    Engine engine;
    engine.settings.angleMode = AngleMode::Radians;
    const std::string call = std::string(product ? "fnProduct(" : "fnSum(") + c.expression + "," + c.variable + "," +
                             c.start + "," + c.end + "," + c.step + ")";
    const ValueCell result = engine.evaluate(call, Engine::kModeScalar, 10);
    return {engine.error() == 0 ? result.re : 0.0, engine.error()};
}

const FoldCase kCases[] = {
    {"1/k^2", "k", "1", "200", "1"},
    {"1/k^2", "k", "1", "10000", "1"},
    {"k", "k", "-5", "5", "0.5"},
    {"k*k-3*k", "k", "-2", "2", "0.1"},
    {"sin(k)/k", "k", "0.25", "30", "0.25"},
    {"1/(k-3)", "k", "1", "5", "1"},
    {"sqrt(k)", "k", "-2", "2", "1"},
    {"(k+i)*(k-i)", "k", "1", "4", "1"},
    {"-k^2", "k", "-3", "3", "1"},
    {"2^k", "k", "-10", "10", "1"},
    {"exp(x)", "x", "0", "3", "1"},
    {"e^x", "x", "0.1", "1", "0.2"},
    {"e^x", "x", "1/10^20", "1", "0.25"},
    {"kk", "k", "1", "3", "1"},
    {"2k", "k", "1", "3", "1"},
    {"k(2)", "k", "1", "3", "1"},
    {"1+K", "K", "1", "3", "1"},
    {"1+k", "K", "1", "3", "1"},
    {"ln(n)", "n", "1", "20", "1"},
    {"1/n!", "n", "0", "15", "1"},
    {"n mod 3", "n", "1", "10", "1"},
    {"(1+1/n)", "n", "1", "50", "1"},
    {"qq+k", "k", "1", "3", "1"},
    {"1e999*k", "k", "1", "3", "1"},
    {"k+1e290", "k", "1e290", "3e290", "1e290"},
    {"k*1e10", "k", "1e290", "3e290", "1e290"},
    {"k*1e300", "k", "1", "5", "1"},
};

class FoldTerm : public testing::TestWithParam<FoldCase> {};

TEST_P(FoldTerm, SumIsWhatTheTermTextsGive)
{
    const Folded expected = foldByText(GetParam(), false);
    const Folded actual = foldByCall(GetParam(), false);
    EXPECT_EQ(actual.error, expected.error);
    EXPECT_EQ(std::memcmp(&actual.value, &expected.value, sizeof(double)), 0)
        << cnum::general17(actual.value) << " against " << cnum::general17(expected.value);
}

TEST_P(FoldTerm, ProductIsWhatTheTermTextsGive)
{
    const Folded expected = foldByText(GetParam(), true);
    const Folded actual = foldByCall(GetParam(), true);
    EXPECT_EQ(actual.error, expected.error);
    EXPECT_EQ(std::memcmp(&actual.value, &expected.value, sizeof(double)), 0)
        << cnum::general17(actual.value) << " against " << cnum::general17(expected.value);
}

INSTANTIATE_TEST_SUITE_P(SumProduct, FoldTerm, testing::ValuesIn(kCases));

TEST(SumProduct, TermsWithCallsAreExpandedPerTerm)
{
    Engine engine;
    const ValueCell result = engine.evaluate("fnSum(fnSum(j,j,1,k),k,1,4)", Engine::kModeScalar, 10);
    ASSERT_EQ(engine.error(), 0);
    EXPECT_EQ(result.re, 1.0 + 3.0 + 6.0 + 10.0);
}

}  // namespace

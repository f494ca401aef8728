#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine.h"

namespace {

struct CallCase {
    const char* text;
    int error;
    double value;
};

std::ostream& operator<<(std::ostream& out, const CallCase& c)
{
    return out << c.text;
}

class IntegerCall : public testing::TestWithParam<CallCase> {};

TEST_P(IntegerCall, GivesValueOrError)
{
    const CallCase& c = GetParam();
    Engine engine;
    const double value = engine.evaluate(c.text, Engine::kModeScalar, 10).re;
    ASSERT_EQ(engine.error(), c.error);
    if (c.error == 0) {
        EXPECT_NEAR(value, c.value, 1e-15 * std::fabs(c.value));
    }
}

INSTANTIATE_TEST_SUITE_P(
    GcdLcm, IntegerCall,
    testing::Values(CallCase{"gcd(12,18)", 0, 6}, CallCase{"gcd(-12,18)", 0, 6}, CallCase{"gcd(0,5)", 0, 5},
                    CallCase{"gcd(12,18,8)", 0, 2}, CallCase{"gcd(0,0)", 0, 0}, CallCase{"gcd(1,2147483647)", 0, 1},
                    CallCase{"gcd(-2147483648,6)", 0, 2}, CallCase{"gcd(2.5,5)", -11, 0},
                    CallCase{"gcd(2147483648,2)", -11, 0}, CallCase{"gcd(5)", -8, 0}, CallCase{"gcd(4,,6)", -8, 0},
                    CallCase{"lcm(4,6)", 0, 12}, CallCase{"lcm(4,6,10)", 0, 60}, CallCase{"lcm(0,5)", 0, 0},
                    CallCase{"lcm(-4,6)", 0, 12}, CallCase{"lcm(1.5,2)", -35, 0},
                    // Any zero argument makes the lcm 0.
                    CallCase{"lcm(0,0)", 0, 0}, CallCase{"lcm(0,5,0)", 0, 0}, CallCase{"lcm(3,5,0)", 0, 0},
                    // Beyond 32 bits the running value stays exact.
                    CallCase{"lcm(65536,65535,65533,6)", 0, 281457797038080.0},
                    CallCase{"lcm(2147483647,2147483646)", 0, 4611686011984936962.0},
                    CallCase{"lcm(2147483647,2147483646,2147483645)", 0, 9903520286612926112250986490.0},
                    // 4 shares one factor 2 with the exact running value (2147483646 is twice an odd number).
                    CallCase{"lcm(2147483647,2147483646,2147483645,4)", 0, 19807040573225852224501972980.0},
                    CallCase{"lcm(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20)", 0, 232792560.0}));

INSTANTIATE_TEST_SUITE_P(
    FibModuleCombinations, IntegerCall,
    testing::Values(CallCase{"fib(0)", 0, 0}, CallCase{"fib(1)", 0, 1}, CallCase{"fib(2)", 0, 1},
                    CallCase{"fib(10)", 0, 55}, CallCase{"fib(1400)", 0, 1.7108476902340223e+292},
                    CallCase{"fib(1477)", -7, 0}, CallCase{"fib(-1)", -53, 0}, CallCase{"fib(2.5)", -53, 0},
                    CallCase{"module(7,3)", 0, 1}, CallCase{"module(-7,3)", 0, 1}, CallCase{"module(7,-3)", 0, 1},
                    CallCase{"module(7,0)", -5, 0}, CallCase{"module(7.5,2)", -53, 0}, CallCase{"ncr(5,2)", 0, 10},
                    CallCase{"npr(5,2)", 0, 20}, CallCase{"ncr(5,5)", 0, 1}, CallCase{"ncr(5,0)", 0, 1},
                    CallCase{"npr(5,0)", 0, 1}, CallCase{"ncr(0,0)", 0, 1}, CallCase{"ncr(1000,0)", 0, 1},
                    CallCase{"npr(5,5)", 0, 120}, CallCase{"ncr(2,5)", -50, 0}, CallCase{"npr(5,-1)", -50, 0},
                    CallCase{"ncr(5,-1)", -50, 0}, CallCase{"ncr(5.5,2)", -11, 0}, CallCase{"npr(170,1)", 0, 170},
                    // Past 170! the counts come from the falling product, finite as long as
                    // the count itself is.
                    CallCase{"ncr(2147483647,1)", 0, 2147483647}, CallCase{"npr(171,1)", 0, 171},
                    CallCase{"ncr(1000,2)", 0, 499500}, CallCase{"ncr(1000,998)", 0, 499500},
                    CallCase{"npr(1000,3)", 0, 997002000}, CallCase{"npr(1000,1000)", -55, 0},
                    CallCase{"ncr(1100,550)", -55, 0},
                    // Whole counts work with the integer operators and functions.
                    CallCase{"ncr(28,5) mod 7", 0, 0}, CallCase{"gcd(ncr(28,5),2)", 0, 2},
                    CallCase{"ncr(28,5)!", -7, 0}, CallCase{"ncr(23,2)", 0, 253},
                    CallCase{"ncr(30,15)", 0, 155117520}));

// Every count below 2^64 against Pascal's triangle and the falling product in 64-bit integers, and
// large counts against their correctly rounded values: equal to the last bit.
TEST(IntegerCall, CountsAreExactOrCorrectlyRounded)
{
    constexpr int kRows = 68;
    std::vector<std::vector<std::uint64_t>> pascal(kRows);
    Engine engine;
    const auto count = [&engine](const std::string& text) {
        const double value = engine.evaluate(text, Engine::kModeScalar, 10).re;
        EXPECT_EQ(engine.error(), 0) << text;
        return value;
    };
    for (int n = 0; n < kRows; ++n) {
        pascal[n].assign(n + 1, 1);
        std::uint64_t falling = 1;
        bool fits = true;
        for (int k = 0; k <= n; ++k) {
            if (k > 0 && k < n)
                pascal[n][k] = pascal[n - 1][k - 1] + pascal[n - 1][k];
            const std::string arguments = "(" + std::to_string(n) + "," + std::to_string(k) + ")";
            EXPECT_EQ(count("ncr" + arguments), static_cast<double>(pascal[n][k])) << arguments;
            if (k > 0)
                fits = fits && !__builtin_mul_overflow(falling, std::uint64_t(n - k + 1), &falling);
            if (fits) {
                EXPECT_EQ(count("npr" + arguments), static_cast<double>(falling)) << arguments;
            }
        }
    }
    const std::pair<const char*, double> large[] = {
        {"ncr(1000,500)", 2.7028824094543655e+299},
        {"npr(100,60)", 1.1438223717595084e+110},
        {"ncr(2147483647,3)", 1.6505867144354876e+27},
    };
    for (const auto& [text, value] : large)
        EXPECT_EQ(count(text), value) << text;
}

TEST(IntegerCall, ArgumentsAreDecimalInEveryRadix)
{
    Engine engine;
    engine.evaluate("gcd(A,F)", Engine::kModeScalar, 16);
    EXPECT_EQ(engine.error(), -1);
    engine.resetError();
    EXPECT_EQ(engine.evaluate("gcd(12,18)", Engine::kModeScalar, 16).re, 6.0);
}

TEST(IntegerCall, RandomNumberLiesBetweenTheBounds)
{
    struct Range {
        const char* text;
        double low;
        double high;
    };
    Engine engine;
    for (const Range& range : {Range{"ran(1,2)", 1, 2}, Range{"ran(5,-1)", -1, 5}, Range{"ran(3,3)", 3, 3}}) {
        const double value = engine.evaluate(range.text, Engine::kModeScalar, 10).re;
        ASSERT_EQ(engine.error(), 0) << range.text;
        EXPECT_GE(value, range.low) << range.text;
        EXPECT_LE(value, range.high) << range.text;
    }
}

}  // namespace

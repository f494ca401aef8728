#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine.h"
#include "time_value_of_money.h"

namespace {

struct FinanceCase {
    const char* text;
    int error;
    TimeValueOfMoney::Result expected;  // the library call the text must reach
};

std::ostream& operator<<(std::ostream& out, const FinanceCase& c)
{
    return out << c.text;
}

class FinanceCall : public testing::TestWithParam<FinanceCase> {};

TEST_P(FinanceCall, PassesItsArgumentsInOrder)
{
    const FinanceCase& c = GetParam();
    Engine engine;
    const double value = engine.evaluate(c.text, Engine::kModeScalar, 10).re;
    ASSERT_EQ(engine.error(), c.error);
    if (c.error == 0) {
        ASSERT_TRUE(c.expected.ok());
        EXPECT_NEAR(value, c.expected.value, 1e-9 * std::max(1.0, std::fabs(c.expected.value)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Annuity, FinanceCall,
    testing::Values(
        FinanceCase{"fv(0,10,100,1000,12)", 0, {0.0, TimeValueOfMoney::kValid}},
        FinanceCase{"fv(6,36,100,1000,12)", 0, TimeValueOfMoney::futureValue(6, 36, 100, 1000, 12, 0)},
        FinanceCase{"fv(6,36,100,1000,12,1)", 0, TimeValueOfMoney::futureValue(6, 36, 100, 1000, 12, 1)},
        FinanceCase{"pv(6,36,100,1000,12)", 0, TimeValueOfMoney::presentValue(6, 36, 100, 1000, 12, 0)},
        FinanceCase{"pmt(6,360,200000,0,12)", 0, TimeValueOfMoney::payment(6, 360, 200000, 0, 12, 0)},
        // Any non-zero type means payments at the start.
        FinanceCase{"pmt(6,360,200000,0,12,5)", 0, TimeValueOfMoney::payment(6, 360, 200000, 0, 12, 1)},
        FinanceCase{"nper(6.007,1200,200000,0,12)", 0, TimeValueOfMoney::periodCount(6.007, 1200, 200000, 0, 12, 0)},
        FinanceCase{"rate(360,1200,200000,0,12)", 0, TimeValueOfMoney::interestRate(360, 1200, 200000, 0, 12, 0)},
        FinanceCase{"rate(360,1200,200000,0,12,)", 0, TimeValueOfMoney::interestRate(360, 1200, 200000, 0, 12, 0)},
        FinanceCase{"nper(6,0,1000,0,12)", -51, {}}, FinanceCase{"rate(10,100,1100,0,12)", -51, {}},
        FinanceCase{"fv(6,36,100,1000)", -8, {}}, FinanceCase{"fv(6,36,100,1000,12,0,1)", -8, {}},
        FinanceCase{"fv(6,36,100,1000,12*i)", -54, {}}));

INSTANTIATE_TEST_SUITE_P(
    Depreciation, FinanceCall,
    testing::Values(FinanceCase{"sln(1000,100,9)", 0, TimeValueOfMoney::straightLine(1000, 100, 9)},
                    FinanceCase{"syd(1000,100,9,2)", 0, TimeValueOfMoney::sumOfYearsDigits(1000, 100, 9, 2)},
                    FinanceCase{"db(10000,1000,5,2)", 0, TimeValueOfMoney::decliningBalance(10000, 1000, 5, 2, 12)},
                    FinanceCase{"db(10000,1000,5,1,7)", 0, TimeValueOfMoney::decliningBalance(10000, 1000, 5, 1, 7)},
                    FinanceCase{"db(2400,300,10,10)", 0, {69.2425979675841, TimeValueOfMoney::kValid}},
                    FinanceCase{"db(1000000,100000,6,7,7)", 0, {15845.098473848071, TimeValueOfMoney::kValid}},
                    FinanceCase{"sln(1000,100,0)", -51, {}}, FinanceCase{"sln(1000,100)", -8, {}},
                    FinanceCase{"syd(1000,100,9,2,1)", -8, {}}));

// Against mpmath at 50 digits: nper keeps its digits as the rate goes to 0, pv and pmt hold
// where B^n overflows (and 10^300 periods are a perpetuity), and fv says when it is infinite.
TEST(FinanceCall, AgreesWithHighPrecisionValues)
{
    struct ReferenceCase {
        const char* text;
        int error;
        double expected;
    };
    const ReferenceCase cases[] = {
        {"nper(0.001,1200,200000,0,12,0)", 0, 166.67831126178368734},
        {"nper(0.000001,1200,200000,0,12,0)", 0, 166.66667831018626167},
        {"nper(0.00000001,1200,200000,0,12,0)", 0, 166.66666678310185196},
        {"pv(6,1000000,1,0,12,0)", 0, 200},
        {"pmt(6,1000000,1,0,12,0)", 0, 0.005},
        {"pmt(5,1E300,1000,0,12,0)", 0, 4.1666666666666666667},
        {"fv(6,1000000,1,0,12,0)", -55, 0},
        {"fv(6,1000000,0,0,12,0)", 0, 0},
    };
    for (const ReferenceCase& c : cases) {
        Engine engine;
        const double value = engine.evaluate(c.text, Engine::kModeScalar, 10).re;
        ASSERT_EQ(engine.error(), c.error) << c.text;
        EXPECT_NEAR(value, c.expected, 4e-15 * std::fabs(c.expected)) << c.text;
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "time_value_of_money.h"

namespace {

TEST(TimeValueOfMoney, OpeningLoanTakesThirtyYears)
{
    // 6.007 % a year, 200000 borrowed, 1200 paid monthly, nothing left.
    const TimeValueOfMoney::Result nper = TimeValueOfMoney::periodCount(6.007, 1200, 200000, 0, 12, 0);
    ASSERT_TRUE(nper.ok());
    EXPECT_NEAR(nper.value, 360.0, 0.01);
    EXPECT_EQ(TimeValueOfMoney::roundDown(nper.value, 0), 360.0);
}

// Random loans paid down to a balance between 0 and half the loan (fixed seed): the balance
// that FV gives must lead every other solver back to its own input. (A loan overpaid into a
// negative balance changes the sign of its cash flows twice and may have two rates.)
TEST(TimeValueOfMoney, SolversInvertEachOther)
{
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> annualRate(0.25, 30.0);
    std::uniform_int_distribution<int> years(1, 40);
    std::uniform_real_distribution<double> amount(1e3, 1e6);
    std::uniform_real_distribution<double> leftOver(0.0, 0.5);
    const double perYearChoices[] = {1, 4, 12, 52};
    for (int trial = 0; trial < 200; ++trial) {
        const double rate = annualRate(random);
        const double perYear = perYearChoices[trial % 4];
        const double nper = years(random) * perYear;
        const double pv = amount(random);
        const double balance = pv * leftOver(random);
        const int type = trial % 3 == 0 ? 1 : 0;
        const double pmt = TimeValueOfMoney::payment(rate, nper, pv, balance, perYear, type).value;
        SCOPED_TRACE(testing::Message() << "rate " << rate << " nper " << nper << " pv " << pv << " pmt " << pmt
                                        << " p/y " << perYear << " type " << type);
        const TimeValueOfMoney::Result fv = TimeValueOfMoney::futureValue(rate, nper, pmt, pv, perYear, type);
        ASSERT_TRUE(fv.ok());
        EXPECT_NEAR(fv.value, balance, 1e-6 * pv);
        EXPECT_NEAR(TimeValueOfMoney::presentValue(rate, nper, pmt, fv.value, perYear, type).value, pv, 1e-9 * pv);
        const TimeValueOfMoney::Result n = TimeValueOfMoney::periodCount(rate, pmt, pv, fv.value, perYear, type);
        ASSERT_TRUE(n.ok());
        EXPECT_NEAR(n.value, nper, 1e-6);
        const TimeValueOfMoney::Result r = TimeValueOfMoney::interestRate(nper, pmt, pv, fv.value, perYear, type);
        ASSERT_TRUE(r.ok());
        EXPECT_NEAR(r.value, rate, 1e-6);
    }
}

TEST(TimeValueOfMoney, RateWithoutInterestOrWithoutABracket)
{
    EXPECT_EQ(TimeValueOfMoney::interestRate(10, 100, 1000, 0, 12, 0).value, 0.0);
    EXPECT_TRUE(TimeValueOfMoney::interestRate(10, 100, 1000, 0, 12, 0).ok());
    // Paying back 1000 for 1100 borrowed needs a negative rate, outside the search interval.
    EXPECT_EQ(TimeValueOfMoney::interestRate(10, 100, 1100, 0, 12, 0).status, TimeValueOfMoney::kInvalid);
    EXPECT_NEAR(TimeValueOfMoney::interestRate(10, 100, 900, 0, 1, 0).value, 1.96, 0.01);
    // 40 years of monthly payments: (1 + 5)^480 overflows at the top of the search interval.
    const double pmt = TimeValueOfMoney::payment(5, 480, 100000, 0, 12, 0).value;
    EXPECT_NEAR(TimeValueOfMoney::interestRate(480, pmt, 100000, 0, 12, 0).value, 5.0, 1e-9);
    // A balance that would need more than 500 % a period.
    EXPECT_FALSE(TimeValueOfMoney::interestRate(2, 0, 1, 100, 1, 0).ok());
}

TEST(TimeValueOfMoney, TinyRatesKeepTheirDigits)
{
    // (1 + i)^n - 1 computed directly is 0 for i below 1e-16: the balance would stay at pv.
    EXPECT_EQ(TimeValueOfMoney::futureValue(0, 10, 100, 1000, 12, 0).value, 0.0);
    EXPECT_NEAR(TimeValueOfMoney::futureValue(1e-12, 10, 100, 1000, 12, 0).value, 0.0, 1e-9);
    EXPECT_NEAR(TimeValueOfMoney::payment(1e-12, 10, 1000, 0, 12, 0).value, 100.0, 1e-9);
}

TEST(TimeValueOfMoney, PaymentsAtTheStartAreSmaller)
{
    const double atEnd = TimeValueOfMoney::payment(6, 360, 200000, 0, 12, 0).value;
    const double atStart = TimeValueOfMoney::payment(6, 360, 200000, 0, 12, 1).value;
    EXPECT_NEAR(atEnd, 1199.10, 0.01);
    EXPECT_NEAR(atStart, atEnd / 1.005, 1e-9);
}

struct InvalidCase {
    const char* name;
    TimeValueOfMoney::Result result;
};

TEST(TimeValueOfMoney, InputsOutsideTheDomainAreInvalid)
{
    const InvalidCase cases[] = {
        {"FV negative rate", TimeValueOfMoney::futureValue(-1, 10, 100, 1000, 12, 0)},
        {"FV no periods per year", TimeValueOfMoney::futureValue(5, 10, 100, 1000, 0, 0)},
        {"PV no periods", TimeValueOfMoney::presentValue(5, 0, 100, 1000, 12, 0)},
        {"PMT NaN rate", TimeValueOfMoney::payment(std::nan(""), 10, 100, 1000, 12, 0)},
        {"NPER no payment", TimeValueOfMoney::periodCount(5, 0, 1000, 0, 12, 0)},
        {"NPER negative payment", TimeValueOfMoney::periodCount(5, -5, 1000, 0, 12, 0)},
        {"NPER payment below the interest", TimeValueOfMoney::periodCount(12, 1000, 200000, 0, 12, 0)},
        {"NPER payment equal to the interest", TimeValueOfMoney::periodCount(12, 1000, 100000, 0, 12, 0)},
        {"SLN no life", TimeValueOfMoney::straightLine(1000, 100, 0)},
        {"SYD negative life", TimeValueOfMoney::sumOfYearsDigits(1000, 100, -2, 1)},
        {"DB no cost", TimeValueOfMoney::decliningBalance(0, 100, 5, 1, 12)},
        {"DB period past life + 1", TimeValueOfMoney::decliningBalance(1000, 100, 5, 6.5, 12)},
        {"DB negative salvage", TimeValueOfMoney::decliningBalance(1000, -100, 5, 1, 12)},
    };
    for (const InvalidCase& c : cases) {
        EXPECT_EQ(c.result.status, TimeValueOfMoney::kInvalid) << c.name;
        EXPECT_EQ(c.result.value, 0.0) << c.name;
    }
}

struct DepreciationCase {
    const char* name;
    TimeValueOfMoney::Result result;
    double expected;
};

TEST(TimeValueOfMoney, Depreciation)
{
    // 10000 down to 1000 over 5 years: the declining rate 1 - 0.1^(1/5) rounds to 0.369.
    const DepreciationCase cases[] = {
        {"SLN", TimeValueOfMoney::straightLine(1000, 100, 9), 100},
        {"SYD first year", TimeValueOfMoney::sumOfYearsDigits(1000, 100, 9, 1), 180},
        {"SYD last year", TimeValueOfMoney::sumOfYearsDigits(1000, 100, 9, 9), 20},
        {"DB first year", TimeValueOfMoney::decliningBalance(10000, 1000, 5, 1, 12), 3690},
        {"DB first seven months", TimeValueOfMoney::decliningBalance(10000, 1000, 5, 1, 7), 2152.5},
        {"DB second year", TimeValueOfMoney::decliningBalance(10000, 1000, 5, 2, 12), 2328.39},
        {"DB third year, period truncated", TimeValueOfMoney::decliningBalance(10000, 1000, 5, 3.9, 12), 1469.21409},
        {"DB fifth year after seven months", TimeValueOfMoney::decliningBalance(10000, 1000, 5, 5, 7),
         727.5213927474524},
        {"DB past the salvage", TimeValueOfMoney::decliningBalance(10000, 1000, 5, 6, 7), 191.27749950985103},
        {"DB past the salvage, full first year", TimeValueOfMoney::decliningBalance(10000, 1000, 5, 6, 12), 0},
    };
    for (const DepreciationCase& c : cases) {
        ASSERT_TRUE(c.result.ok()) << c.name;
        EXPECT_NEAR(c.result.value, c.expected, 1e-9) << c.name;
    }
}

TEST(TimeValueOfMoney, DecliningBalanceKeepsTheShortFirstYearsMonthsForPeriodLifePlusOne)
{
    // An ordinary year whose total passes cost - salvage keeps its amount (it used to give 0).
    const TimeValueOfMoney::Result tenth = TimeValueOfMoney::decliningBalance(2400, 300, 10, 10, 12);
    ASSERT_TRUE(tenth.ok());
    EXPECT_EQ(TimeValueOfMoney::roundDown(tenth.value, 2), 69.24);
    EXPECT_NEAR(tenth.value, 69.2425979675841, 1e-9);

    // The spreadsheets' table for a first year of 7 months: the extra period 7 holds the
    // remaining 5 months.
    const double expected[] = {186083.33, 259639.42, 176814.44, 120410.64, 81999.64, 55841.76, 15845.10};
    double sum = 0.0;
    for (int period = 1; period <= 7; ++period) {
        const TimeValueOfMoney::Result r = TimeValueOfMoney::decliningBalance(1000000, 100000, 6, period, 7);
        ASSERT_TRUE(r.ok()) << period;
        EXPECT_NEAR(r.value, expected[period - 1], 0.005) << period;
        sum += r.value;
    }
    EXPECT_LT(sum, 1000000 - 100000 + 1);

    // With a full first year the period after the life has nothing left to take.
    const TimeValueOfMoney::Result after = TimeValueOfMoney::decliningBalance(1000000, 100000, 6, 7, 12);
    ASSERT_TRUE(after.ok());
    EXPECT_EQ(after.value, 0.0);
}

TEST(TimeValueOfMoney, DecliningBalanceOverAMillionPeriodsEnds)
{
    // Rate 0.001: the total stops changing after some 36000 periods and every later period
    // repeats the last amount.
    const TimeValueOfMoney::Result late = TimeValueOfMoney::decliningBalance(1, 1e-300, 1e6, 1e6, 12);
    ASSERT_TRUE(late.ok());
    EXPECT_GT(late.value, 0.0);
    EXPECT_LT(late.value, 1e-15);
}

struct RoundCase {
    double x;
    int decimals;
    double expected;
};

TEST(TimeValueOfMoney, RoundsHalvesDownAndNegativesToTheFloor)
{
    const RoundCase cases[] = {
        {0.125, 2, 0.12},      {-2.341, 2, -2.35}, {2.5, 0, 2},
        {2.51, 0, 3},          {-2.5, 0, -3},      {-2.0, 0, -2},
        {1234.5678, -2, 1200}, {6.0074, 3, 6.007}, {1199.1010503, 2, 1199.1},
    };
    for (const RoundCase& c : cases)
        EXPECT_DOUBLE_EQ(TimeValueOfMoney::roundDown(c.x, c.decimals), c.expected) << c.x << " to " << c.decimals;
}

}  // namespace

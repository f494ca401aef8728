#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tvm_calc.h"

namespace {

TEST(CTVMCalc, OpeningLoanTakesThirtyYears)
{
    // 6.007 % a year, 200000 borrowed, 1200 paid monthly, nothing left.
    const CTVMCalc::Result nper = CTVMCalc::NPER(6.007, 1200, 200000, 0, 12, 0);
    ASSERT_TRUE(nper.ok());
    EXPECT_NEAR(nper.value, 360.0, 0.01);
    EXPECT_EQ(CTVMCalc::Round(nper.value, 0), 360.0);
}

// Random loans paid down to a balance between 0 and half the loan (fixed seed): the balance
// that FV gives must lead every other solver back to its own input. (A loan overpaid into a
// negative balance changes the sign of its cash flows twice and may have two rates.)
TEST(CTVMCalc, SolversInvertEachOther)
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
        const double pmt = CTVMCalc::PMT(rate, nper, pv, balance, perYear, type).value;
        SCOPED_TRACE(testing::Message() << "rate " << rate << " nper " << nper << " pv " << pv
                                        << " pmt " << pmt << " p/y " << perYear << " type " << type);
        const CTVMCalc::Result fv = CTVMCalc::FV(rate, nper, pmt, pv, perYear, type);
        ASSERT_TRUE(fv.ok());
        EXPECT_NEAR(fv.value, balance, 1e-6 * pv);
        EXPECT_NEAR(CTVMCalc::PV(rate, nper, pmt, fv.value, perYear, type).value, pv, 1e-9 * pv);
        const CTVMCalc::Result n = CTVMCalc::NPER(rate, pmt, pv, fv.value, perYear, type);
        ASSERT_TRUE(n.ok());
        EXPECT_NEAR(n.value, nper, 1e-6);
        const CTVMCalc::Result r = CTVMCalc::RATE(nper, pmt, pv, fv.value, perYear, type);
        ASSERT_TRUE(r.ok());
        EXPECT_NEAR(r.value, rate, 1e-6);
    }
}

TEST(CTVMCalc, RateWithoutInterestOrWithoutABracket)
{
    EXPECT_EQ(CTVMCalc::RATE(10, 100, 1000, 0, 12, 0).value, 0.0);
    EXPECT_TRUE(CTVMCalc::RATE(10, 100, 1000, 0, 12, 0).ok());
    // Paying back 1000 for 1100 borrowed needs a negative rate, outside the search interval.
    EXPECT_EQ(CTVMCalc::RATE(10, 100, 1100, 0, 12, 0).status, CTVMCalc::kInvalid);
    EXPECT_NEAR(CTVMCalc::RATE(10, 100, 900, 0, 1, 0).value, 1.96, 0.01);
    // 40 years of monthly payments: (1 + 5)^480 overflows at the top of the search interval.
    const double pmt = CTVMCalc::PMT(5, 480, 100000, 0, 12, 0).value;
    EXPECT_NEAR(CTVMCalc::RATE(480, pmt, 100000, 0, 12, 0).value, 5.0, 1e-9);
    // A balance that would need more than 500 % a period.
    EXPECT_FALSE(CTVMCalc::RATE(2, 0, 1, 100, 1, 0).ok());
}

TEST(CTVMCalc, TinyRatesKeepTheirDigits)
{
    // (1 + i)^n - 1 computed directly is 0 for i below 1e-16: the balance would stay at pv.
    EXPECT_EQ(CTVMCalc::FV(0, 10, 100, 1000, 12, 0).value, 0.0);
    EXPECT_NEAR(CTVMCalc::FV(1e-12, 10, 100, 1000, 12, 0).value, 0.0, 1e-9);
    EXPECT_NEAR(CTVMCalc::PMT(1e-12, 10, 1000, 0, 12, 0).value, 100.0, 1e-9);
}

TEST(CTVMCalc, PaymentsAtTheStartAreSmaller)
{
    const double atEnd = CTVMCalc::PMT(6, 360, 200000, 0, 12, 0).value;
    const double atStart = CTVMCalc::PMT(6, 360, 200000, 0, 12, 1).value;
    EXPECT_NEAR(atEnd, 1199.10, 0.01);
    EXPECT_NEAR(atStart, atEnd / 1.005, 1e-9);
}

struct InvalidCase {
    const char* name;
    CTVMCalc::Result result;
};

TEST(CTVMCalc, InputsOutsideTheDomainAreInvalid)
{
    const InvalidCase cases[] = {
        {"FV negative rate", CTVMCalc::FV(-1, 10, 100, 1000, 12, 0)},
        {"FV no periods per year", CTVMCalc::FV(5, 10, 100, 1000, 0, 0)},
        {"PV no periods", CTVMCalc::PV(5, 0, 100, 1000, 12, 0)},
        {"PMT NaN rate", CTVMCalc::PMT(std::nan(""), 10, 100, 1000, 12, 0)},
        {"PMT overflow", CTVMCalc::PMT(5, 1e300, 1000, 0, 12, 0)},
        {"NPER no payment", CTVMCalc::NPER(5, 0, 1000, 0, 12, 0)},
        {"NPER negative payment", CTVMCalc::NPER(5, -5, 1000, 0, 12, 0)},
        {"NPER payment below the interest", CTVMCalc::NPER(12, 1000, 200000, 0, 12, 0)},
        {"NPER payment equal to the interest", CTVMCalc::NPER(12, 1000, 100000, 0, 12, 0)},
        {"SLN no life", CTVMCalc::SLN(1000, 100, 0)},
        {"SYD negative life", CTVMCalc::SYD(1000, 100, -2, 1)},
        {"DB no cost", CTVMCalc::DB(0, 100, 5, 1, 12)},
        {"DB period past life + 1", CTVMCalc::DB(1000, 100, 5, 6.5, 12)},
        {"DB negative salvage", CTVMCalc::DB(1000, -100, 5, 1, 12)},
    };
    for (const InvalidCase& c : cases) {
        EXPECT_EQ(c.result.status, CTVMCalc::kInvalid) << c.name;
        EXPECT_EQ(c.result.value, 0.0) << c.name;
    }
}

struct DepreciationCase {
    const char* name;
    CTVMCalc::Result result;
    double expected;
};

TEST(CTVMCalc, Depreciation)
{
    // 10000 down to 1000 over 5 years: the declining rate 1 - 0.1^(1/5) rounds to 0.369.
    const DepreciationCase cases[] = {
        {"SLN", CTVMCalc::SLN(1000, 100, 9), 100},
        {"SYD first year", CTVMCalc::SYD(1000, 100, 9, 1), 180},
        {"SYD last year", CTVMCalc::SYD(1000, 100, 9, 9), 20},
        {"DB first year", CTVMCalc::DB(10000, 1000, 5, 1, 12), 3690},
        {"DB first seven months", CTVMCalc::DB(10000, 1000, 5, 1, 7), 2152.5},
        {"DB second year", CTVMCalc::DB(10000, 1000, 5, 2, 12), 2328.39},
        {"DB third year, period truncated", CTVMCalc::DB(10000, 1000, 5, 3.9, 12), 1469.21409},
        {"DB fifth year after seven months", CTVMCalc::DB(10000, 1000, 5, 5, 7), 727.5213927474524},
        {"DB past the salvage", CTVMCalc::DB(10000, 1000, 5, 6, 7), 191.27749950985103},
        {"DB past the salvage, full first year", CTVMCalc::DB(10000, 1000, 5, 6, 12), 0},
    };
    for (const DepreciationCase& c : cases) {
        ASSERT_TRUE(c.result.ok()) << c.name;
        EXPECT_NEAR(c.result.value, c.expected, 1e-9) << c.name;
    }
}

TEST(CTVMCalc, DecliningBalanceOverAMillionPeriodsEnds)
{
    // Rate 0.001: the total stops changing after some 36000 periods and every later period
    // repeats the last amount.
    const CTVMCalc::Result late = CTVMCalc::DB(1, 1e-300, 1e6, 1e6, 12);
    ASSERT_TRUE(late.ok());
    EXPECT_GT(late.value, 0.0);
    EXPECT_LT(late.value, 1e-15);
}

struct RoundCase {
    double x;
    int decimals;
    double expected;
};

TEST(CTVMCalc, RoundsHalvesDownAndNegativesToTheFloor)
{
    const RoundCase cases[] = {
        {0.125, 2, 0.12}, {-2.341, 2, -2.35}, {2.5, 0, 2}, {2.51, 0, 3}, {-2.5, 0, -3},
        {-2.0, 0, -2},    {1234.5678, -2, 1200}, {6.0074, 3, 6.007}, {1199.1010503, 2, 1199.1},
    };
    for (const RoundCase& c : cases)
        EXPECT_DOUBLE_EQ(CTVMCalc::Round(c.x, c.decimals), c.expected) << c.x << " to " << c.decimals;
}

}  // namespace

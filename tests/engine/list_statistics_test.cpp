#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine.h"

namespace {

struct ListCase {
    const char* text;
    std::vector<double> list;
    int error;  // expected engine error, 0 for success
    double value;
};

std::ostream& operator<<(std::ostream& out, const ListCase& c)
{
    return out << c.text << " over " << c.list.size() << " values";
}

double evaluateOver(Engine& engine, const char* text, const std::vector<double>& list)
{
    engine.slots.storeMatrix(VariableSlots::kList, static_cast<std::uint16_t>(list.size()), 1, list.data());
    return engine.evaluate(text, Engine::kModeScalar, 10).re;
}

class ListStatistic : public testing::TestWithParam<ListCase> {};

TEST_P(ListStatistic, GivesValueOrError)
{
    const ListCase& c = GetParam();
    Engine engine;
    const double value = evaluateOver(engine, c.text, c.list);
    ASSERT_EQ(engine.error(), c.error);
    if (c.error == 0) {
        EXPECT_NEAR(value, c.value, 1e-12 * std::max(1.0, std::fabs(c.value)));
    }
}

const std::vector<double> kOneToFour{1, 2, 3, 4};

INSTANTIATE_TEST_SUITE_P(
    OneToFour, ListStatistic,
    testing::Values(ListCase{"sum(X)", kOneToFour, 0, 10}, ListCase{"ssq(X)", kOneToFour, 0, 30},
                    ListCase{"N(X)", kOneToFour, 0, 4}, ListCase{"avg(X)", kOneToFour, 0, 2.5},
                    ListCase{"sdv(X)", kOneToFour, 0, 1.118033988749895},
                    ListCase{"ssd(X)", kOneToFour, 0, 1.2909944487358056}, ListCase{"min(X)", kOneToFour, 0, 1},
                    ListCase{"max(X)", kOneToFour, 0, 4}, ListCase{"avd(X)", kOneToFour, 0, 1},
                    ListCase{"median(X)", kOneToFour, 0, 2.5}, ListCase{"dsq(X)", kOneToFour, 0, 5},
                    ListCase{"gm(X)", kOneToFour, 0, 2.2133638394006434}, ListCase{"md(X)", kOneToFour, 0, 1},
                    ListCase{"avg()+sum()", kOneToFour, 0, 12.5}));

INSTANTIATE_TEST_SUITE_P(
    Shapes, ListStatistic,
    testing::Values(ListCase{"md(X)", {2, 3, 3, 5, 5}, 0, 3}, ListCase{"median(X)", {5, -1, 3}, 0, 3},
                    ListCase{"min(X)", {5, -1, 3}, 0, -1}, ListCase{"max(X)", {-5, -1, -3}, 0, -1},
                    ListCase{"ssd(X)", {7}, -5, 0}, ListCase{"sum(X)", {}, 0, 0}, ListCase{"avg(X)", {}, -55, 0},
                    ListCase{"md(X)", {}, -49, 0}, ListCase{"min(X)", {}, -49, 0}, ListCase{"median(X)", {}, -49, 0},
                    // The shortcut n ssq - sum^2 loses everything here (and goes below 0 for the second).
                    ListCase{"sdv(X)", {1e9 + 1, 1e9 + 2, 1e9 + 3, 1e9 + 4}, 0, 1.118033988749895},
                    ListCase{"sdv(X)", {0.1, 0.1, 0.1}, 0, 0}, ListCase{"gm(X)", {-1, -2, -4}, 0, -2},
                    ListCase{"gm(X)", {-1, 4}, -4, 0}, ListCase{"gm(X)", {0, -3}, 0, 0},
                    ListCase{"gm(X)", std::vector<double>(200, 1e10), 0, 1e10}));

// Statistics of data whose size is far from 1, or whose spread is tiny against its mean, to
// nearly the last digit: relative, not absolute agreement.
class ListStatisticRelative : public testing::TestWithParam<ListCase> {};

TEST_P(ListStatisticRelative, KeepsTheDigits)
{
    const ListCase& c = GetParam();
    Engine engine;
    const double value = evaluateOver(engine, c.text, c.list);
    ASSERT_EQ(engine.error(), c.error);
    if (c.error == 0) {
        EXPECT_NEAR(value, c.value, 1e-14 * std::fabs(c.value));
    }
}

std::vector<double> aboveTenToThe15()
{
    std::vector<double> values;
    for (int k = 1; k <= 50; ++k)
        values.push_back(1e15 + k);
    return values;
}

const std::vector<double> kNearTenToThe15 = aboveTenToThe15();
const std::vector<double> kNearTenToThe158{-1e158, 3e158, 8e158, -6e158};
const std::vector<double> kAttograms{1e-18, 2e-18, 4e-18};
const std::vector<double> kNanoscale{1.234567890123e-9, 2.345678901234e-9, 1.111111111111e-9};
const std::vector<double> kBelowTenToTheMinus169{3e-170, 1e-170, 4e-170, 1e-170, 5e-170};

INSTANTIATE_TEST_SUITE_P(
    FarFromOne, ListStatisticRelative,
    testing::Values(
        // The sum of 50 values near 1e15 is beyond 2^53: the mean needs the compensated sum.
        ListCase{"sum(X)", kNearTenToThe15, 0, 5.000000000000127e16},
        ListCase{"avg(X)", kNearTenToThe15, 0, 1000000000000025.5},
        ListCase{"sdv(X)", kNearTenToThe15, 0, 14.430869689661812},
        ListCase{"ssd(X)", kNearTenToThe15, 0, 14.577379737113251}, ListCase{"dsq(X)", kNearTenToThe15, 0, 10412.5},
        ListCase{"avd(X)", kNearTenToThe15, 0, 12.5},
        // Squares beyond the double range: the deviations are scaled before squaring.
        ListCase{"sdv(X)", kNearTenToThe158, 0, 5.1478150704935e158},
        ListCase{"ssd(X)", kNearTenToThe158, 0, 5.944184833375669e158}, ListCase{"avg(X)", kNearTenToThe158, 0, 1e158},
        ListCase{"dsq(X)", kNearTenToThe158, -55, 0},
        // Values below 1e-16 reach the expression whole.
        ListCase{"sum(X)", kAttograms, 0, 7e-18}, ListCase{"avg(X)", kAttograms, 0, 2.3333333333333336e-18},
        ListCase{"sdv(X)", kAttograms, 0, 1.2472191289246472e-18},
        ListCase{"avg(X)", kNanoscale, 0, 1.5637859674893332e-09},
        ListCase{"sdv(X)", kNanoscale, 0, 5.551743353523501e-10},
        ListCase{"sdv(X)", kBelowTenToTheMinus169, 0, 1.6e-170},
        ListCase{"ssd(X)", kBelowTenToTheMinus169, 0, 1.7888543819998317e-170}));

TEST(ListStatistic, NeedsAOneColumnList)
{
    for (const char* text : {"sum(X)", "N(X)", "gm(X)", "md(X)"}) {
        Engine engine;
        engine.evaluate(text, Engine::kModeScalar, 10);
        EXPECT_EQ(engine.error(), -49) << text << " without a list";
        const double pair[] = {1, 2, 3, 4};
        engine.slots.storeMatrix(VariableSlots::kList, 2, 2, pair);
        engine.resetError();
        engine.evaluate(text, Engine::kModeScalar, 10);
        EXPECT_EQ(engine.error(), -49) << text << " with two columns";
    }
}

TEST(ListStatistic, UpperCaseNInASlotNameIsACallOfN)
{
    Engine engine;
    evaluateOver(engine, "[VN]+1", kOneToFour);
    EXPECT_EQ(engine.error(), -8);
}

}  // namespace

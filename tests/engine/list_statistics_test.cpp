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
                    ListCase{"ssd(X)", kOneToFour, 0, 1.2909944487358056},
                    ListCase{"min(X)", kOneToFour, 0, 1}, ListCase{"max(X)", kOneToFour, 0, 4},
                    ListCase{"avd(X)", kOneToFour, 0, 1}, ListCase{"median(X)", kOneToFour, 0, 2.5},
                    ListCase{"dsq(X)", kOneToFour, 0, 5}, ListCase{"gm(X)", kOneToFour, 0, 2.2133638394006434},
                    ListCase{"md(X)", kOneToFour, 0, 1}, ListCase{"avg()+sum()", kOneToFour, 0, 12.5}));

INSTANTIATE_TEST_SUITE_P(
    Shapes, ListStatistic,
    testing::Values(
        ListCase{"md(X)", {2, 3, 3, 5, 5}, 0, 3}, ListCase{"median(X)", {5, -1, 3}, 0, 3},
        ListCase{"min(X)", {5, -1, 3}, 0, -1}, ListCase{"max(X)", {-5, -1, -3}, 0, -1},
        ListCase{"ssd(X)", {7}, -5, 0}, ListCase{"sum(X)", {}, 0, 0}, ListCase{"avg(X)", {}, -55, 0},
        ListCase{"md(X)", {}, -49, 0}, ListCase{"min(X)", {}, -49, 0}, ListCase{"median(X)", {}, -49, 0},
        // The shortcut n ssq - sum^2 loses everything here (and goes below 0 for the second).
        ListCase{"sdv(X)", {1e9 + 1, 1e9 + 2, 1e9 + 3, 1e9 + 4}, 0, 1.118033988749895},
        ListCase{"sdv(X)", {0.1, 0.1, 0.1}, 0, 0},
        ListCase{"gm(X)", {-1, -2, -4}, 0, -2}, ListCase{"gm(X)", {-1, 4}, -4, 0},
        ListCase{"gm(X)", {0, -3}, 0, 0}, ListCase{"gm(X)", std::vector<double>(200, 1e10), 0, 1e10}));

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

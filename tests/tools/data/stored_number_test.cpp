#include "stored_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "random_doubles.h"

namespace {

TEST(StoredNumber, FileTextIsShortAndExact)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {3, "3"},
        {-12, "-12"},
        {0, "0"},
        {-0.0, "-0"},
        {0.1, "0.1"},
        {2.5, "2.5"},
        {-123456.5, "-123456.5"},
        {1.23456789012345, "1.23456789012345"},
        {6.02214076e-23, "6.02214076e-23"},
        {1e-9, "1e-09"},
        {9007199254740992.0, "9007199254740992"},  // 2^53: the last whole number as "%.0f"
        {1e300, "1e+300"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {std::numeric_limits<double>::denorm_min(), "5e-324"},
        {HUGE_VAL, "1e999"},
        {-HUGE_VAL, "-1e999"},
        {std::nan(""), "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(storedNumber::fileText(c.value), c.text) << c.value;
}

TEST(StoredNumber, EveryFiniteDoubleReadsBackToItself)
{
    std::mt19937_64 random(99);
    for (DoubleKind kind :
         {DoubleKind::Tiny, DoubleKind::Huge, DoubleKind::Negative, DoubleKind::AnyBits, DoubleKind::Mixed}) {
        for (int i = 0; i < 20000; ++i) {
            const double value = randomDouble(kind, random);
            const std::string text = storedNumber::fileText(value);
            ASSERT_LE(text.size(), 24u) << text;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(storedNumber::atofRule(text)), std::bit_cast<std::uint64_t>(value))
                << text;
        }
    }
    EXPECT_EQ(storedNumber::atofRule("1e999"), HUGE_VAL);
    EXPECT_EQ(storedNumber::atofRule("-1e999"), -HUGE_VAL);
}

TEST(StoredNumber, CellTextNeverShowsANegativeZero)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {-3e-10, "0"},
        {-0.0, "0"},
        {-4e-9, "0"},
        {1e-9, "0"},
        {-0.25, "-0.25"},
        {-2, "-2"},
        {1.0 / 3, "0.33333333"},
        {-1e-8, "-0.00000001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(storedNumber::cellText(c.value), c.text) << c.value;
}

TEST(StoredNumber, AtofRuleReadsTheLongestNumber)
{
    EXPECT_EQ(storedNumber::atofRule(" \t-2.5e1x"), -25.0);
    EXPECT_EQ(storedNumber::atofRule("abc"), 0.0);
    EXPECT_EQ(storedNumber::atofRule(".5"), 0.5);
    EXPECT_EQ(storedNumber::atofRule(""), 0.0);
}

}  // namespace

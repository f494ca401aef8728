#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "c_number.h"

namespace {

TEST(CLocaleNumber, ParsesTheLongestNumberAtTheStart)
{
    struct Case {
        const char* text;
        std::size_t used;
        double value;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"2.5", 3, 2.5},   {"1e5", 3, 1e5},     {"1e", 1, 1.0},     {"1e-", 1, 1.0}, {".5", 2, 0.5},
        {"5.", 2, 5.0},    {"-1", 2, -1.0},     {"+7", 2, 7.0},     {"2pi", 1, 2.0}, {"1.2.3", 3, 1.2},
        {"1e999", 5, inf}, {"-1e999", 6, -inf}, {"1e-999", 6, 0.0}, {"pi", 0, 0.0},  {"inf", 0, 0.0},
        {"nan", 0, 0.0},   {"", 0, 0.0},        {"-", 0, 0.0},      {".", 0, 0.0},   {"0x10", 1, 0.0},
    };
    for (const Case& c : cases) {
        double value = 0.0;
        EXPECT_EQ(cnum::parsePrefix(c.text, value), c.used) << c.text;
        if (c.used > 0) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(CLocaleNumber, FormatsLikePrintfInTheCLocale)
{
    EXPECT_EQ(cnum::fixed(2.0 / 3.0, 16), "0.6666666666666666");
    EXPECT_EQ(cnum::fixed(-0.5, 0), "-0");
    EXPECT_EQ(cnum::fixed(2.5, 0), "2");
    EXPECT_EQ(cnum::fixed(1e300, 2).size(), 304u);
    EXPECT_EQ(cnum::fixed(-1.7976931348623157e308, 12).size(), 323u);
    EXPECT_EQ(cnum::scientific(1234.5, 10), "1.2345000000e+03");
    EXPECT_EQ(cnum::scientific(1e-300, 4), "1.0000e-300");
    EXPECT_EQ(cnum::general17(0.1), "0.10000000000000001");
    EXPECT_EQ(cnum::general17(14.0), "14");
    EXPECT_EQ(cnum::fixed(std::numeric_limits<double>::infinity(), 3), "inf");
}

TEST(CLocaleNumber, ExactDecimalReadsBackAsTheSameDouble)
{
    EXPECT_EQ(cnum::exactDecimal(0.1), "0.1");
    EXPECT_EQ(cnum::exactDecimal(-2.5), "-2.5");
    EXPECT_EQ(cnum::exactDecimal(1e-9), "0.000000001");
    EXPECT_EQ(cnum::exactDecimal(3.0), "3");
    EXPECT_EQ(cnum::exactDecimal(1.5e300), "1.5e300");
    EXPECT_EQ(cnum::exactDecimal(-1e16), "-1e16");
    const double values[] = {1.0 / 3.0,
                             2.0 / 3.0e-18,
                             5e-324,
                             -4.9406564584124654e-324,
                             1.7976931348623157e308,
                             123456789.123456789,
                             9999999999999998.0,
                             0.0,
                             -1e-300,
                             6.02214076e23};
    for (const double x : values) {
        const std::string text = cnum::exactDecimal(x);
        // One number for the engine: no sign inside it, no "e-", no "+".
        EXPECT_EQ(text.find_first_of("+", 0), std::string::npos) << text;
        EXPECT_EQ(text.find('-', 1), std::string::npos) << text;
        double back = 1.0;
        EXPECT_EQ(cnum::parsePrefix(text, back), text.size()) << text;
        EXPECT_EQ(back, x) << text;
    }
}

}  // namespace

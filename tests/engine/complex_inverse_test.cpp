// The inverse circular and hyperbolic functions at the ends of the double range: arguments near
// 0 keep every digit, the branch of a huge complex argument has the principal sign, and
// nothing overflows on the way. Expected values are from mpmath at 50 digits, rounded to the
// nearest double.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "complex_inverse.h"
#include "engine.h"

namespace {

struct ExtremeCase {
    const char* text;  // engine text, radians
    double re;
    double im;
};

std::ostream& operator<<(std::ostream& out, const ExtremeCase& c)
{
    return out << c.text;
}

class InverseAtTheExtremes : public testing::TestWithParam<ExtremeCase> {};

// A few units in the last place of the value's modulus: the functions are accurate to about 4
// ulps, where the old formulas lost every digit near 0 and overflowed beyond 1e154.
TEST_P(InverseAtTheExtremes, KeepsFullRelativePrecision)
{
    const ExtremeCase& c = GetParam();
    Engine engine;
    engine.settings.angleMode = AngleMode::Radians;
    const ValueCell result = engine.evaluate(c.text, Engine::kModeScalar, 10);
    ASSERT_EQ(engine.error(), 0) << c.text;
    const double size = std::hypot(c.re, c.im);
    const double tolerance = 8.0 * 1.1102230246251565e-16 * size;
    EXPECT_LE(std::hypot(result.re - c.re, result.im - c.im), tolerance)
        << c.text << " gave " << result.re << " + " << result.im << "i";
    // The sign of each part is the principal branch's, however small the part.
    EXPECT_EQ(std::signbit(result.im), std::signbit(c.im)) << c.text;
    EXPECT_EQ(std::signbit(result.re), std::signbit(c.re)) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    NearZero, InverseAtTheExtremes,
    testing::Values(ExtremeCase{"atanh(0.000000000469)", 4.69e-10, 0.0}, ExtremeCase{"asinh(1/1E17)", 1e-17, 0.0},
                    ExtremeCase{"asinh(-3/1E30)", -3e-30, 0.0}, ExtremeCase{"asin(1/1E17)", 1e-17, 0.0},
                    ExtremeCase{"atan(1/1E30)", 9.999999999999999e-31, 0.0}, ExtremeCase{"asin(i/1E20)", 0.0, 1e-20},
                    ExtremeCase{"asin(0.5/1E9+0.3/1E9*i)", 5e-10, 3e-10},
                    ExtremeCase{"atanh(0.3/1E9-0.2/1E9*i)", 3e-10, -2e-10},
                    ExtremeCase{"asinh(1/1E8+1/1E8*i)", 1e-08, 1e-08}, ExtremeCase{"acsch(1E17)", 1e-17, 0.0},
                    ExtremeCase{"acoth(1E17)", 1e-17, 0.0}, ExtremeCase{"acsc(1E300)", 1e-300, 0.0},
                    // Near 1, where acos and atanh cancel in their textbook forms.
                    ExtremeCase{"acos(1-1/1E10)", 1.4142136208911564e-05, 0.0},
                    ExtremeCase{"atanh(1-1/1E10)", 11.859499013855018, 0.0},
                    ExtremeCase{"acosh(1+i/1E17)", 3.1622776601683795e-09, 3.1622776601683795e-09}));

INSTANTIATE_TEST_SUITE_P(FarOut, InverseAtTheExtremes,
                         testing::Values(ExtremeCase{"atan(1E20+1E20*i)", 1.5707963267948966, 0.0},
                                         ExtremeCase{"atanh(1E200+i)", 0.0, 1.5707963267948966},
                                         ExtremeCase{"asinh(9.99E307)", 709.8883553223924, 0.0},
                                         ExtremeCase{"asin(1E200+i)", 1.5707963267948966, 461.2101657793691},
                                         ExtremeCase{"acos(1E200+i)", 0.0, -461.2101657793691},
                                         ExtremeCase{"asinh(1E200+i)", 461.2101657793691, 0.0},
                                         ExtremeCase{"acosh(1E200+i)", 461.2101657793691, 0.0},
                                         ExtremeCase{"acosh(-1E300+1E300*i)", 691.8152486690536, 2.356194490192345},
                                         ExtremeCase{"asec(1E300)", 1.5707963267948966, 0.0},
                                         // Negative real part, tiny or huge: the half-plane of the principal value.
                                         ExtremeCase{"asech((-3.07821265859855829E274)-1.53910632929927922E275*i)", 0.0,
                                                     1.5707963267948966},
                                         ExtremeCase{"acosh((-1/1E300)+i/1E300)", 0.0, 1.5707963267948966}));

// The far-axis rule gives ln(2|x|) without forming 2|x|, which overflows beyond 9e307.
TEST(ComplexInverse, FarAxisRuleDoesNotOverflow)
{
    const double largest = 1.7976931348623157e308;
    EXPECT_DOUBLE_EQ(cmath::asinh({largest, 0.0}).re, std::log(largest) + std::log(2.0));
    EXPECT_DOUBLE_EQ(cmath::acosh({largest, 0.0}).re, std::log(largest) + std::log(2.0));
    EXPECT_DOUBLE_EQ(cmath::asin({0.0, -largest}).im, -(std::log(largest) + std::log(2.0)));
    EXPECT_DOUBLE_EQ(cmath::acos({-largest, 0.0}).re, std::acos(-1.0));
}

// The sides of the cuts that the calculator documents stay as they were.
TEST(ComplexInverse, CutsOfTheImaginaryAxisKeepTheirSides)
{
    const double halfPi = std::acos(0.0);
    const double atanh05 = std::atanh(0.5);
    EXPECT_NEAR(cmath::atan({0.0, 2.0}).re, -halfPi, 1e-15);
    EXPECT_NEAR(cmath::atan({0.0, 2.0}).im, atanh05, 1e-15);
    EXPECT_NEAR(cmath::atan({0.0, -2.0}).re, -halfPi, 1e-15);
    EXPECT_NEAR(cmath::atan({0.0, -2.0}).im, -atanh05, 1e-15);
    EXPECT_NEAR(cmath::asinh({-0.0, 2.0}).re, std::acosh(2.0), 1e-15);
}

TEST(ComplexInverse, NaNArgumentsGiveNaN)
{
    const double nan = std::nan("");
    for (auto function : {cmath::asin, cmath::acos, cmath::atan, cmath::asinh, cmath::acosh, cmath::atanh}) {
        const CalcValue w = function({nan, 1.0});
        EXPECT_TRUE(std::isnan(w.re) && std::isnan(w.im));
    }
}

}  // namespace

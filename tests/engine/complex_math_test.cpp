// The complex function library at its edges: zero and signed zeros, overflow of tan and tanh,
// the large-argument branches of the inverse functions, their branch-cut conventions and their
// real results. General points are covered by scalar_reference_test.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <string>

#include "complex_inverse.h"
#include "complex_math.h"
#include "complex_trig.h"

namespace {

using Complex = std::complex<double>;
using Function = CalcValue (*)(CalcValue);
using Reference = Complex (*)(const Complex&);

constexpr double kPi = std::numbers::pi;

Complex toComplex(CalcValue z)
{
    return {z.re, z.im};
}

bool hasNaN(CalcValue z)
{
    return std::isnan(z.re) || std::isnan(z.im);
}

// |a - b| <= tolerance x max(1, |b|).
::testing::AssertionResult near(CalcValue got, Complex expected, double tolerance)
{
    const double d = std::abs(toComplex(got) - expected);
    if (d <= tolerance * std::max(1.0, std::abs(expected)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.re << ", " << got.im << "), expected " << expected
                                         << ", difference " << d;
}

TEST(ComplexMath, ArgumentTreatsANegativeZeroImaginaryPartAsReal)
{
    EXPECT_EQ(cmath::argument({-8.0, -0.0}), kPi);
    EXPECT_EQ(cmath::argument({-8.0, 0.0}), kPi);
    EXPECT_EQ(cmath::argument({0.0, 0.0}), 0.0);
    EXPECT_EQ(cmath::argument({-0.0, -0.0}), 0.0);
    EXPECT_DOUBLE_EQ(cmath::argument({0.0, -2.0}), -kPi / 2);
}

TEST(ComplexMath, LogModulusKeepsTheSmallTermNearTheUnitCircle)
{
    // ln |1 + 1e-10 i| = 0.5 ln(1 + 1e-20) = 5e-21; ln(hypot) would give 0.
    EXPECT_NEAR(cmath::logModulus({1.0, 1e-10}), 5e-21, 1e-30);
    EXPECT_DOUBLE_EQ(cmath::logModulus({3.0, -4.0}), std::log(5.0));
    EXPECT_DOUBLE_EQ(cmath::logModulus({1e300, 1e300}), std::log(1e300) + 0.5 * std::log(2.0));
    EXPECT_TRUE(std::isnan(cmath::logModulus({0.0, 0.0})));
}

struct SqrtCase {
    CalcValue z;
    Complex expected;
};

class ComplexSqrt : public ::testing::TestWithParam<SqrtCase> {};

TEST_P(ComplexSqrt, IsThePrincipalRoot)
{
    EXPECT_TRUE(near(cmath::sqrt(GetParam().z), GetParam().expected, 1e-15));
}

INSTANTIATE_TEST_SUITE_P(Points, ComplexSqrt,
                         ::testing::Values(SqrtCase{{0.0, 0.0}, {0.0, 0.0}}, SqrtCase{{4.0, 0.0}, {2.0, 0.0}},
                                           SqrtCase{{-4.0, 0.0}, {0.0, 2.0}}, SqrtCase{{-4.0, -0.0}, {0.0, 2.0}},
                                           SqrtCase{{3.0, 4.0}, {2.0, 1.0}}, SqrtCase{{-3.0, -4.0}, {1.0, -2.0}},
                                           SqrtCase{{-3.0, 4.0}, {1.0, 2.0}}, SqrtCase{{0.0, -2.0}, {1.0, -1.0}},
                                           SqrtCase{{1e300, 1e300}, std::sqrt(Complex(1e300, 1e300))},
                                           SqrtCase{{-1e-300, 1e-300}, std::sqrt(Complex(-1e-300, 1e-300))}));

TEST(ComplexMath, PowerIsPrincipalAndZeroBaseGivesZero)
{
    EXPECT_TRUE(near(cmath::power({-8.0, -0.0}, {1.0 / 3.0, 0.0}), {1.0, std::sqrt(3.0)}, 1e-15));
    EXPECT_TRUE(near(cmath::power({0.0, 1.0}, {0.0, 1.0}), {std::exp(-kPi / 2), 0.0}, 1e-15));
    EXPECT_TRUE(near(cmath::power({2.0, 0.0}, {10.0, 0.0}), {1024.0, 0.0}, 1e-15));
    const CalcValue zero = cmath::power({0.0, 0.0}, {-1.0, 0.0});
    EXPECT_EQ(zero.re, 0.0);
    EXPECT_EQ(zero.im, 0.0);
}

TEST(ComplexMath, ExpOfARealArgumentStaysReal)
{
    const CalcValue huge = cmath::exp({1000.0, 0.0});
    EXPECT_TRUE(std::isinf(huge.re));
    EXPECT_EQ(huge.im, 0.0);
    EXPECT_TRUE(near(cmath::exp({1.0, kPi}), {-std::exp(1.0), 0.0}, 1e-15));
}

TEST(ComplexMath, DecimalLogDividesBothParts)
{
    EXPECT_TRUE(near(cmath::log({1000.0, 0.0}), {3.0, 0.0}, 1e-15));
    EXPECT_TRUE(near(cmath::log({-100.0, 0.0}), {2.0, kPi / std::log(10.0)}, 1e-15));
}

// --- circular and hyperbolic functions ------------------------------------------------------

TEST(ComplexTrig, TanStaysFiniteFarBelowTheRealAxis)
{
    // e^-y overflows beyond y = -355; the value there is -i to double precision.
    EXPECT_TRUE(near(cmath::tan({0.5, -400.0}), {0.0, -1.0}, 1e-15));
    EXPECT_TRUE(near(cmath::tan({0.5, 800.0}), {0.0, 1.0}, 1e-15));
    EXPECT_TRUE(near(cmath::tanh({-1000.0, 0.5}), {-1.0, 0.0}, 1e-15));
}

TEST(ComplexTrig, TanhSaturatesFarOutOnTheRealAxis)
{
    EXPECT_EQ(cmath::tanh({700.0, 0.0}).re, 1.0);
    EXPECT_EQ(cmath::tanh({-700.0, 5e-13}).re, -1.0);
    EXPECT_EQ(cmath::tanh({-700.0, 5e-13}).im, 0.0);
    EXPECT_EQ(cmath::tanh({std::numeric_limits<double>::infinity(), 0.0}).re, 1.0);
}

// cosh and sinh of a huge complex argument overflow; their reciprocals are 0, not NaN.
TEST(ComplexTrig, ReciprocalsOfAnOverflowAreZero)
{
    for (const CalcValue z :
         {CalcValue{-1.26136e254, 4.7404e-31}, CalcValue{2.61464e241, 2.18052}, CalcValue{800.0, 1.0}}) {
        for (const CalcValue w : {cmath::sech(z), cmath::csch(z)}) {
            EXPECT_EQ(w.re, 0.0) << z.re << " " << z.im;
            EXPECT_EQ(w.im, 0.0) << z.re << " " << z.im;
        }
    }
}

TEST(ComplexTrig, ReciprocalsOfAZeroAreNaN)
{
    EXPECT_TRUE(hasNaN(cmath::cot({0.0, 0.0})));
    EXPECT_TRUE(hasNaN(cmath::csc({0.0, 0.0})));
    EXPECT_TRUE(hasNaN(cmath::coth({0.0, 0.0})));
    EXPECT_TRUE(hasNaN(cmath::csch({0.0, 0.0})));
}

// --- inverse functions -----------------------------------------------------------------------

struct InverseCase {
    const char* name;
    Function function;
    Reference reference;
};

Complex referenceAcot(const Complex& z)
{
    return std::atan(1.0 / z);
}
Complex referenceAcoth(const Complex& z)
{
    return std::atanh(1.0 / z);
}
Complex referenceAsec(const Complex& z)
{
    return std::acos(1.0 / z);
}
Complex referenceAcsc(const Complex& z)
{
    return std::asin(1.0 / z);
}
Complex referenceAsech(const Complex& z)
{
    return std::acosh(1.0 / z);
}
Complex referenceAcsch(const Complex& z)
{
    return std::asinh(1.0 / z);
}

const InverseCase kInverse[] = {
    {"asin", cmath::asin, std::asin},        {"acos", cmath::acos, std::acos},
    {"atan", cmath::atan, std::atan},        {"asinh", cmath::asinh, std::asinh},
    {"acosh", cmath::acosh, std::acosh},     {"atanh", cmath::atanh, std::atanh},
    {"acot", cmath::acot, referenceAcot},    {"acoth", cmath::acoth, referenceAcoth},
    {"asec", cmath::asec, referenceAsec},    {"acsc", cmath::acsc, referenceAcsc},
    {"asech", cmath::asech, referenceAsech}, {"acsch", cmath::acsch, referenceAcsch},
};

class InverseFunction : public ::testing::TestWithParam<InverseCase> {};

// A real argument whose value is real must give an imaginary part of exactly 0; rounding noise
// there would show as a complex result and switch the angle mode to radians.
TEST_P(InverseFunction, RealValuesOfRealArgumentsHaveNoImaginaryPart)
{
    for (const double x : {-1e5, -3.0, -1.0, -0.999, -0.3, -0.001, 1e-8, 0.001, 0.3, 0.999, 1.0, 1.5, 3.0, 1e5}) {
        const Complex expected = GetParam().reference(Complex(x, 0.0));
        if (expected.imag() != 0.0 || !std::isfinite(expected.real()))
            continue;
        const CalcValue got = GetParam().function({x, 0.0});
        EXPECT_EQ(got.im, 0.0) << GetParam().name << " " << x;
        EXPECT_TRUE(near(got, expected, 1e-14)) << GetParam().name << " " << x;
    }
}

INSTANTIATE_TEST_SUITE_P(Functions, InverseFunction, ::testing::ValuesIn(kInverse),
                         [](const auto& info) { return std::string(info.param.name); });

struct CutCase {
    const char* name;
    Function function;
    CalcValue z;
    Complex expected;
};

const double kAcosh2 = std::acosh(2.0);
const double kAtanh05 = std::atanh(0.5);

// Values on the cuts, where the calculator's side differs from C99's in part: asin and acos keep
// the side their formula gives (counter-clockwise continuity), acosh is principal from above.
const CutCase kCuts[] = {
    {"asin 2", cmath::asin, {2.0, 0.0}, {kPi / 2, -kAcosh2}},
    {"asin -2", cmath::asin, {-2.0, 0.0}, {-kPi / 2, kAcosh2}},
    {"acos 2", cmath::acos, {2.0, 0.0}, {0.0, kAcosh2}},
    {"acos -2", cmath::acos, {-2.0, 0.0}, {kPi, -kAcosh2}},
    {"acosh -2", cmath::acosh, {-2.0, 0.0}, {kAcosh2, kPi}},
    {"acosh 0.5", cmath::acosh, {0.5, 0.0}, {0.0, kPi / 3}},
    {"acosh -0.5", cmath::acosh, {-0.5, 0.0}, {0.0, 2 * kPi / 3}},
    {"acosh -1", cmath::acosh, {-1.0, 0.0}, {0.0, kPi}},
    {"atanh 2", cmath::atanh, {2.0, 0.0}, {kAtanh05, kPi / 2}},
    {"atanh -2", cmath::atanh, {-2.0, 0.0}, {-kAtanh05, kPi / 2}},
    {"acoth 0.5", cmath::acoth, {0.5, 0.0}, {kAtanh05, kPi / 2}},
    {"asinh 2i", cmath::asinh, {0.0, 2.0}, {kAcosh2, kPi / 2}},
    {"asinh -2i", cmath::asinh, {0.0, -2.0}, {kAcosh2, -kPi / 2}},
};

class BranchCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(BranchCut, TakesTheCalculatorsSide)
{
    EXPECT_TRUE(near(GetParam().function(GetParam().z), GetParam().expected, 1e-15)) << GetParam().name;
}

std::string identifier(std::string text)
{
    std::string out;
    for (const char c : text)
        out += c == '-' ? std::string("minus") : c == ' ' || c == '.' ? std::string("_") : std::string(1, c);
    return out;
}

INSTANTIATE_TEST_SUITE_P(Values, BranchCut, ::testing::ValuesIn(kCuts),
                         [](const auto& info) { return identifier(info.param.name); });

struct LargeCase {
    const char* name;
    Function function;
    bool imaginaryAxis;
    double direction;
};

const LargeCase kLarge[] = {
    {"asin", cmath::asin, false, 1.0},    {"asin", cmath::asin, false, -1.0},   {"asin", cmath::asin, true, 1.0},
    {"asin", cmath::asin, true, -1.0},    {"acos", cmath::acos, false, 1.0},    {"acos", cmath::acos, false, -1.0},
    {"acos", cmath::acos, true, 1.0},     {"acos", cmath::acos, true, -1.0},    {"asinh", cmath::asinh, false, 1.0},
    {"asinh", cmath::asinh, false, -1.0}, {"asinh", cmath::asinh, true, 1.0},   {"asinh", cmath::asinh, true, -1.0},
    {"acosh", cmath::acosh, false, 1.0},  {"acosh", cmath::acosh, false, -1.0}, {"acosh", cmath::acosh, true, 1.0},
    {"acosh", cmath::acosh, true, -1.0},
};

CalcValue onAxis(const LargeCase& c, double magnitude, double other)
{
    return c.imaginaryAxis ? CalcValue{other, c.direction * magnitude} : CalcValue{c.direction * magnitude, other};
}

class LargeArgument : public ::testing::TestWithParam<LargeCase> {};

// Just inside 6e7 the formula runs, just beyond it the direct value: they must join up.
TEST_P(LargeArgument, JoinsTheFormulaAtTheThreshold)
{
    const LargeCase& c = GetParam();
    const CalcValue inside = c.function(onAxis(c, 6e7 * (1 - 1e-9), 0.0));
    const CalcValue beyond = c.function(onAxis(c, 6e7 * (1 + 1e-9), 0.0));
    EXPECT_NEAR(inside.re, beyond.re, 1e-8) << c.name << " " << c.imaginaryAxis << " " << c.direction;
    EXPECT_NEAR(inside.im, beyond.im, 1e-8) << c.name << " " << c.imaginaryAxis << " " << c.direction;
}

// With a tiny non-zero other part the argument is off the cut: the principal value applies.
TEST_P(LargeArgument, MatchesThePrincipalValueOffTheAxis)
{
    static const Reference kReferences[] = {std::asin, std::acos, std::asinh, std::acosh};
    const LargeCase& c = GetParam();
    const std::string name = c.name;
    const Reference reference = name == "asin"    ? kReferences[0]
                                : name == "acos"  ? kReferences[1]
                                : name == "asinh" ? kReferences[2]
                                                  : kReferences[3];
    for (const double other : {5e-13, -5e-13}) {
        const CalcValue z = onAxis(c, 1e9, other);
        EXPECT_TRUE(near(c.function(z), reference(toComplex(z)), 1e-15))
            << c.name << " at (" << z.re << ", " << z.im << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Functions, LargeArgument, ::testing::ValuesIn(kLarge), [](const auto& info) {
    return std::string(info.param.name) + (info.param.imaginaryAxis ? "_imaginary" : "_real") +
           (info.param.direction > 0 ? "_positive" : "_negative");
});

TEST(ComplexInverse, AcotOfZeroIsARightAngle)
{
    const CalcValue w = cmath::acot({0.0, 0.0});
    EXPECT_EQ(w.re, kPi / 2);
    EXPECT_EQ(w.im, 0.0);
    EXPECT_DOUBLE_EQ(cmath::acot({1.0, 0.0}).re, kPi / 4);
    EXPECT_DOUBLE_EQ(cmath::acot({-1.0, 0.0}).re, -kPi / 4);
}

TEST(ComplexInverse, SingularPointsGiveNaN)
{
    EXPECT_TRUE(hasNaN(cmath::atan({0.0, 1.0})));
    EXPECT_TRUE(hasNaN(cmath::atan({0.0, -1.0})));
    EXPECT_TRUE(hasNaN(cmath::acot({0.0, 1.0})));
    EXPECT_TRUE(hasNaN(cmath::atanh({1.0, 0.0})));
    EXPECT_TRUE(hasNaN(cmath::atanh({-1.0, 0.0})));
    EXPECT_TRUE(hasNaN(cmath::acoth({1.0, 0.0})));
    EXPECT_TRUE(hasNaN(cmath::acoth({-1.0, 0.0})));
    EXPECT_TRUE(hasNaN(cmath::acoth({0.0, 0.0})));
    EXPECT_TRUE(hasNaN(cmath::asec({0.0, 0.0})));
    EXPECT_TRUE(hasNaN(cmath::acsch({0.0, 0.0})));
}

}  // namespace

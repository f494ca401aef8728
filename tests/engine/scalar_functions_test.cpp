// The scalar function operators as the evaluator applies them: values, error codes, angle
// handling, rounding, and the operands they leave or record.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "engine.h"
#include "scalar_functions.h"
#include "scalar_operator_table.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kExact = 0.0;

struct ExpressionCase {
    const char* text;
    AngleMode mode;
    double re;
    double im;
    double tolerance;  // kExact: both parts must be equal bit for bit
    int error;
};

constexpr AngleMode kDeg = AngleMode::Degrees;
constexpr AngleMode kRad = AngleMode::Radians;
constexpr AngleMode kGrad = AngleMode::Grads;

ExpressionCase ok(const char* text, AngleMode mode, double re, double im = 0.0, double tolerance = kExact)
{
    return {text, mode, re, im, tolerance, 0};
}

// A complex argument is in radians whatever the unit; the unit stays the user's afterwards.
ExpressionCase okInRadians(const char* text, AngleMode mode, double re, double im, double tolerance)
{
    return ok(text, mode, re, im, tolerance);
}

ExpressionCase fails(const char* text, AngleMode mode, int error)
{
    return {text, mode, 0.0, 0.0, kExact, error};
}

std::string describe(const ExpressionCase& c)
{
    const char* modes[] = {"deg", "rad", "grad"};
    return std::string(c.text) + " in " + modes[static_cast<int>(c.mode)];
}

class Expression : public ::testing::TestWithParam<ExpressionCase> {};

TEST_P(Expression, Evaluates)
{
    const ExpressionCase& c = GetParam();
    Engine engine;
    engine.settings.angleMode = c.mode;
    const ValueCell result = engine.evaluate(c.text, Engine::kModeScalar, 10);
    ASSERT_EQ(engine.error(), c.error) << describe(c);
    EXPECT_EQ(engine.settings.angleMode, c.mode) << describe(c);
    if (c.error != 0)
        return;
    if (c.tolerance == kExact) {
        EXPECT_EQ(result.re, c.re) << describe(c);
        EXPECT_EQ(result.im, c.im) << describe(c);
    } else {
        EXPECT_NEAR(result.re, c.re, c.tolerance * std::max(1.0, std::fabs(c.re))) << describe(c);
        EXPECT_NEAR(result.im, c.im, c.tolerance * std::max(1.0, std::fabs(c.im))) << describe(c);
    }
}

const double kSqrt3 = std::sqrt(3.0);
const double kAtanh05 = std::atanh(0.5);

// Rounding to 12 decimals makes the round angles exact.
INSTANTIATE_TEST_SUITE_P(Circular, Expression,
                         ::testing::Values(ok("sin 30", kDeg, 0.5), ok("sin 180", kDeg, 0.0), ok("cos 90", kDeg, 0.0),
                                           ok("cos 60", kDeg, 0.5), ok("tan 45", kDeg, 1.0), ok("tan 180", kDeg, 0.0),
                                           ok("sin 100", kGrad, 1.0), ok("sin(pi/6)", kRad, 0.5),
                                           ok("sec 60", kDeg, 2.0), ok("csc 30", kDeg, 2.0),
                                           ok("ctan 45", kDeg, 1.0, 0.0, 1e-15),
                                           okInRadians("sin(i)", kDeg, 0.0, std::sinh(1.0), 1e-15),
                                           okInRadians("cos(1+i)", kGrad, std::cos(1.0) * std::cosh(1.0),
                                                       -std::sin(1.0) * std::sinh(1.0), 1e-12)));

// Odd right angles for tan and sec, any straight angle for csc, judged after the conversion.
INSTANTIATE_TEST_SUITE_P(
    Poles, Expression,
    ::testing::Values(fails("tan 90", kDeg, ErrorCode::kTan), fails("tan 270", kDeg, ErrorCode::kTan),
                      fails("tan(-90)", kDeg, ErrorCode::kTan), fails("tan 990", kDeg, ErrorCode::kTan),
                      fails("tan 100", kGrad, ErrorCode::kTan), fails("tan(pi/2)", kRad, ErrorCode::kTan),
                      fails("tan 90.00000000000001", kDeg, ErrorCode::kTan), fails("sec 90", kDeg, ErrorCode::kSec),
                      fails("sec(-90)", kDeg, ErrorCode::kSec), fails("csc 0", kDeg, ErrorCode::kCsc),
                      fails("csc 180", kDeg, ErrorCode::kCsc), fails("csc 360", kDeg, ErrorCode::kCsc),
                      fails("ctan 0", kDeg, ErrorCode::kCotan),
                      ok("tan 90.000001", kDeg, -1.0 / std::tan(1e-6 * kPi / 180), 0.0, 1e-6),
                      ok("sec 180", kDeg, -1.0)));

INSTANTIATE_TEST_SUITE_P(
    InverseCircular, Expression,
    ::testing::Values(ok("asin 0.5", kDeg, 30.0, 0.0, 1e-15), ok("acos 0.5", kDeg, 60.0, 0.0, 1e-15),
                      ok("acos 0", kGrad, 100.0, 0.0, 1e-15), ok("atan 1", kDeg, 45.0, 0.0, 1e-15),
                      ok("asin 1", kRad, kPi / 2), ok("asin 0.001", kDeg, std::asin(0.001) * 180 / kPi, 0.0, 1e-15),
                      ok("asec 2", kDeg, 60.0, 0.0, 1e-15), ok("acsc 2", kDeg, 30.0, 0.0, 1e-15),
                      okInRadians("asin 2", kDeg, kPi / 2, -std::acosh(2.0), 1e-15),
                      okInRadians("acos 2", kGrad, 0.0, std::acosh(2.0), 1e-15),
                      fails("asec 0", kDeg, ErrorCode::kArcSec), fails("acsc 0", kDeg, ErrorCode::kArcCsc),
                      fails("atan(i)", kDeg, ErrorCode::kArctan)));

// acot z = atan(1/z), with a right angle at 0; acoth z = atanh(1/z).
INSTANTIATE_TEST_SUITE_P(
    Cotangents, Expression,
    ::testing::Values(ok("acot 0", kDeg, 90.0, 0.0, 1e-15), ok("acot 0", kRad, kPi / 2),
                      ok("acot 0", kGrad, 100.0, 0.0, 1e-15), ok("acot 1", kDeg, 45.0, 0.0, 1e-15),
                      ok("acot(-1)", kDeg, -45.0, 0.0, 1e-15), ok("acot 2", kRad, std::atan(0.5), 0.0, 1e-15),
                      okInRadians("acot(2*i)", kDeg, 0.0, -kAtanh05, 1e-15), fails("acot(i)", kDeg, ErrorCode::kArccot),
                      ok("acoth 2", kDeg, kAtanh05, 0.0, 1e-15), ok("acoth(-2)", kDeg, -kAtanh05, 0.0, 1e-15),
                      ok("acoth 0.5", kDeg, kAtanh05, kPi / 2, 1e-15), fails("acoth 1", kDeg, ErrorCode::kArccoth),
                      fails("acoth(-1)", kDeg, ErrorCode::kArccoth), fails("acoth 0", kDeg, ErrorCode::kArccoth)));

INSTANTIATE_TEST_SUITE_P(
    Hyperbolic, Expression,
    ::testing::Values(ok("sinh 1", kDeg, std::sinh(1.0), 0.0, 1e-15), ok("cosh 0", kDeg, 1.0),
                      ok("tanh 800", kDeg, 1.0), ok("tanh(-700)", kDeg, -1.0),
                      ok("sinh(i)", kDeg, 0.0, std::sin(1.0), 1e-15), ok("asinh 1", kDeg, std::asinh(1.0), 0.0, 1e-15),
                      ok("asinh(-100000)", kDeg, -std::asinh(1e5), 0.0, 1e-15),
                      ok("acosh 2", kDeg, std::acosh(2.0), 0.0, 1e-15),
                      ok("acosh(-2)", kDeg, std::acosh(2.0), kPi, 1e-15), ok("atanh 0.5", kDeg, kAtanh05, 0.0, 1e-15),
                      fails("ctanh 0", kDeg, ErrorCode::kCotanh), fails("csch 0", kDeg, ErrorCode::kCsch),
                      fails("atanh 1", kDeg, ErrorCode::kArctanh), fails("atanh(-1)", kDeg, ErrorCode::kArctanh),
                      fails("asech 0", kDeg, ErrorCode::kArcSech), fails("acsch 0", kDeg, ErrorCode::kArcCsch)));

INSTANTIATE_TEST_SUITE_P(
    PowersAndRoots, Expression,
    ::testing::Values(ok("0^0", kDeg, 1.0), ok("2^10", kDeg, 1024.0), ok("2^0.5", kDeg, std::sqrt(2.0)),
                      ok("-2^2", kDeg, -4.0), ok("2^3^2", kDeg, 512.0), ok("2^(-1)", kDeg, 0.5),
                      ok("10^132", kDeg, 1e132, 0.0, 1e-13), fails("10^133", kDeg, ErrorCode::kOutOfRange),
                      fails("2^1000", kDeg, ErrorCode::kOutOfRange),
                      // The limit applies to |b| ln|a| with its sign: tiny 2^-1000 fails, huge
                      // 0.5^-1000 passes.
                      fails("2^(-1000)", kDeg, ErrorCode::kOutOfRange),
                      ok("0.5^(-1000)", kDeg, std::ldexp(1.0, 1000), 0.0, 1e-13),
                      ok("(-8)^(1/3)", kDeg, 1.0, kSqrt3, 1e-15), ok("(-2)^3", kDeg, -8.0, 0.0, 1e-15),
                      // A negative base whose power underflows gives 0, not NaN.
                      ok("(-0.001)^200.5", kDeg, 0.0), ok("(-0.001)^200.5+1", kDeg, 1.0),
                      ok("i^2", kDeg, -1.0, 0.0, 1e-15), ok("3 root 8", kDeg, 2.0), ok("RT(3,8)", kDeg, 2.0),
                      // A whole exponent 1/n takes the real power, exactly, as "^" does.
                      ok("0.25 root (-16)", kDeg, 65536.0), ok("(-2)^4", kDeg, 16.0), ok("0.5 root (-3)", kDeg, 9.0),
                      ok("(-1/3) root (-2)", kDeg, -0.125), ok("sqrt(-4)", kDeg, 0.0, 2.0),
                      ok("sqrt 2", kDeg, std::sqrt(2.0)), ok("exp 1", kDeg, std::exp(1.0)), ok("ln(e)", kDeg, 1.0),
                      ok("log 1000", kDeg, 3.0), ok("ln(-1)", kDeg, 0.0, kPi), ok("log 2", kDeg, 0.301029995664)));

INSTANTIATE_TEST_SUITE_P(
    PercentAndFactorial, Expression,
    ::testing::Values(ok("50%", kDeg, 0.5), ok("0!", kDeg, 1.0), ok("5!", kDeg, 120.0),
                      ok("170!", kDeg, 7.257415615307994e306, 0.0, 1e-14), fails("171!", kDeg, ErrorCode::kOutOfRange),
                      fails("(-1)!", kDeg, ErrorCode::kOutOfRange), fails("2.5!", kDeg, ErrorCode::kInvalidType),
                      fails("(i)!", kDeg, ErrorCode::kComplexUnsupported),
                      fails("(2*i)%", kDeg, ErrorCode::kComplexUnsupported), fails("5/0", kDeg, ErrorCode::kDivision),
                      fails("5/(0*i)", kDeg, ErrorCode::kDivision)));

const double kSqrtPi = std::sqrt(kPi);

// Rounding takes real numbers only; the others give the real answer a desktop user expects
// (cbrt(-8) is -2, not the principal root) and fail at poles and beyond the doubles.
INSTANTIATE_TEST_SUITE_P(
    RoundingGammaAndFriends, Expression,
    ::testing::Values(
        ok("abs(-3)", kDeg, 3.0), ok("abs(3+4*i)", kDeg, 5.0), ok("abs(0)", kDeg, 0.0), ok("floor(-2.5)", kDeg, -3.0),
        ok("floor 2.5", kDeg, 2.0), ok("ceil(-2.5)", kDeg, -2.0), ok("ceil 2.1", kDeg, 3.0), ok("round 2.5", kDeg, 3.0),
        ok("round(-2.5)", kDeg, -3.0), ok("round 0.49999999999999994", kDeg, 0.0), ok("trunc(-2.7)", kDeg, -2.0),
        ok("trunc 2.7", kDeg, 2.0), fails("floor(i)", kDeg, ErrorCode::kComplexUnsupported),
        fails("round(1+i)", kDeg, ErrorCode::kComplexUnsupported), ok("sign 0", kDeg, 0.0), ok("sign(-7)", kDeg, -1.0),
        ok("sign 0.001", kDeg, 1.0), ok("sign(3+4*i)", kDeg, 0.6, 0.8, 1e-15), ok("gamma 5", kDeg, 24.0),
        ok("gamma 1", kDeg, 1.0), ok("gamma 0.5", kDeg, kSqrtPi, 0.0, 1e-15),
        ok("gamma(-0.5)", kDeg, -2.0 * kSqrtPi, 0.0, 1e-15), ok("gamma 171", kDeg, 7.257415615307994e306, 0.0, 1e-14),
        fails("gamma 0", kDeg, ErrorCode::kOutOfRange), fails("gamma(-2)", kDeg, ErrorCode::kOutOfRange),
        fails("gamma 172", kDeg, ErrorCode::kOutOfRange), fails("gamma(i)", kDeg, ErrorCode::kComplexUnsupported),
        ok("cbrt(-8)", kDeg, -2.0), ok("cbrt 27", kDeg, 3.0), fails("cbrt(i)", kDeg, ErrorCode::kComplexUnsupported),
        ok("log2 8", kDeg, 3.0), ok("log2 0.25", kDeg, -2.0), ok("log2(-8)", kDeg, 3.0, kPi / std::numbers::ln2, 1e-15),
        fails("log2 0", kDeg, ErrorCode::kOutOfRange), ok("hypot(3,4)", kDeg, 5.0),
        ok("hypot(1e200,1e200)", kDeg, 1.4142135623730951e200, 0.0, 1e-15), ok("hypot(-5,abs(-12))", kDeg, 13.0),
        fails("hypot(3)", kDeg, ErrorCode::kCallSyntax), fails("hypot(3,i)", kDeg, ErrorCode::kComplexUnsupported)));

// --- operators reached by name (RPN), and what binary operators record ------------------------

struct NamedCase {
    const char* name;
    CalcValue left;
    CalcValue right;
    double result;
    double lastRightOperand;
};

class NamedOperator : public ::testing::TestWithParam<NamedCase> {};

TEST_P(NamedOperator, ComputesAndRecordsItsRightOperand)
{
    const NamedCase& c = GetParam();
    int error = 0;
    EngineSettings settings;
    OperatorContext context{error, settings};
    ScalarStack stack{{7.0, 0.0}, c.left, c.right};
    findScalarOperation(c.name)(stack, 1, context);
    ASSERT_EQ(error, 0) << c.name;
    ASSERT_EQ(stack.size(), 2u) << c.name;
    // iexp goes through the complex power of 10: a few units in the last place.
    EXPECT_NEAR(stack.back().re, c.result, 1e-14 * c.result) << c.name;
    EXPECT_EQ(stack.back().im, 0.0) << c.name;
    EXPECT_EQ(stack.front().re, 7.0) << c.name;
    EXPECT_EQ(settings.lastRightOperand, c.lastRightOperand) << c.name;
}

// "root" keeps its index (the left operand) so that repeating "=" takes the same root again.
INSTANTIATE_TEST_SUITE_P(Operators, NamedOperator,
                         ::testing::Values(NamedCase{"root", {3, 0}, {8, 0}, 2.0, 3.0},
                                           NamedCase{"iroot", {8, 0}, {3, 0}, 2.0, 3.0},
                                           NamedCase{"iroot", {-16, 0}, {0.25, 0}, 65536.0, 0.25},
                                           NamedCase{"iexp", {2, 0}, {3, 0}, 2000.0, 3.0},
                                           NamedCase{"^", {2, 0}, {5, 0}, 32.0, 5.0}));

TEST(ScalarFunctions, AFailingOperatorLeavesTheStackAndTheLastOperand)
{
    int error = 0;
    EngineSettings settings;
    settings.lastRightOperand = 42.0;
    OperatorContext context{error, settings};
    ScalarStack stack{{2.0, 0.0}, {1000.0, 0.0}};
    scalar_ops::power(stack, 0, context);
    EXPECT_EQ(error, ErrorCode::kOutOfRange);
    ASSERT_EQ(stack.size(), 2u);
    EXPECT_EQ(stack[1].re, 1000.0);
    EXPECT_EQ(settings.lastRightOperand, 42.0);
}

TEST(ScalarFunctions, OperandsComeOnlyFromAboveTheGroupBase)
{
    for (const char* name : {"^", "root", "iroot", "iexp"}) {
        int error = 0;
        EngineSettings settings;
        OperatorContext context{error, settings};
        ScalarStack stack{{2.0, 0.0}, {3.0, 0.0}};
        findScalarOperation(name)(stack, 1, context);
        EXPECT_EQ(error, ErrorCode::kSyntax) << name;
        EXPECT_EQ(stack.size(), 2u) << name;
    }
    for (const char* name : {"sin", "!", "%", "sqrt", "acot", "acoth", "abs", "floor", "gamma", "log2"}) {
        int error = 0;
        EngineSettings settings;
        OperatorContext context{error, settings};
        ScalarStack stack{{2.0, 0.0}};
        findScalarOperation(name)(stack, 1, context);
        EXPECT_EQ(error, ErrorCode::kSyntax) << name;
    }
}

// Within the expression a complex argument switches to radians; the next calculation has the
// user's unit again, also after a call that failed.
TEST(ScalarFunctions, AComplexArgumentLeavesTheUsersUnitForTheNextCalculation)
{
    Engine engine;
    engine.settings.angleMode = AngleMode::Degrees;
    engine.evaluate("acot(i)", Engine::kModeScalar, 10);
    EXPECT_EQ(engine.error(), ErrorCode::kArccot);
    engine.resetError();
    EXPECT_EQ(engine.evaluate("sin 30", Engine::kModeScalar, 10).re, 0.5);
    EXPECT_EQ(engine.settings.angleMode, AngleMode::Degrees);
}

struct RoundingCase {
    double x;
    double expected;
};

class TwelveDecimals : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(TwelveDecimals, RoundsAndReadsBack)
{
    const double got = scalar_ops::roundToTwelveDecimals(GetParam().x);
    if (std::isnan(GetParam().expected)) {
        EXPECT_TRUE(std::isnan(got));
        return;
    }
    EXPECT_EQ(got, GetParam().expected) << GetParam().x;
    EXPECT_FALSE(std::signbit(got) && got == 0.0) << GetParam().x;
}

INSTANTIATE_TEST_SUITE_P(Values, TwelveDecimals,
                         ::testing::Values(RoundingCase{0.49999999999999994, 0.5},
                                           RoundingCase{1.2246467991473532e-16, 0.0},
                                           RoundingCase{-1.2246467991473532e-16, 0.0},
                                           RoundingCase{0.1234567890126, 0.123456789013},
                                           RoundingCase{-2.0000000000004, -2.0}, RoundingCase{1e300, 1e300},
                                           RoundingCase{INFINITY, INFINITY}, RoundingCase{NAN, NAN}));

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "calculus.h"
#include "engine.h"

namespace {

struct CallCase {
    const char* text;
    int error;     // expected engine error, 0 for success
    double value;  // meaningful when error is 0
    double tolerance;
};

std::ostream& operator<<(std::ostream& out, const CallCase& c)
{
    return out << c.text;
}

void expectCase(const CallCase& c, AngleMode angle = AngleMode::Radians)
{
    Engine engine;
    engine.settings.angleMode = angle;
    const ValueCell result = engine.evaluate(c.text, Engine::kModeScalar, 10);
    ASSERT_EQ(engine.error(), c.error) << c.text;
    if (c.error == 0) {
        EXPECT_NEAR(result.re, c.value, c.tolerance) << c.text;
    }
}

class CalculusCall : public testing::TestWithParam<CallCase> {};

TEST_P(CalculusCall, GivesValueOrError)
{
    expectCase(GetParam());
}

constexpr double kThird = 1.0 / 3.0;
// The integral of x^2 sin x over [0, 3]: -7 cos 3 + 6 sin 3 - 2.
constexpr double kSinTimesSquare = 5.7766675245623215;

// Relative tolerance of a smooth integrand, and the same on top of the 12-decimal rounding of
// sin: its noise of 5e-13 in the samples leaves about 1e-13 in the integral.
constexpr double kQuadrature = 1e-15;
constexpr double kRoundedSin = 1e-12;

INSTANTIATE_TEST_SUITE_P(
    Integrate, CalculusCall,
    testing::Values(
        CallCase{"fnInt(x^2,x,0,1)", 0, kThird, kQuadrature}, CallCase{"fnInt(x^2,x,1,0)", 0, -kThird, kQuadrature},
        CallCase{"fnInt(x*x,x,0,1)", 0, kThird, kQuadrature}, CallCase{"fnInt(x,x,2,2)", 0, 0.0, 0.0},
        CallCase{"fnInt(x,x,0,1)", 0, 0.5, kQuadrature}, CallCase{"fnInt(3,t,-1,2)", 0, 9.0, 1e-14},
        CallCase{"fnInt(sin(x)*x^2,x,0,3)", 0, kSinTimesSquare, kRoundedSin* kSinTimesSquare},
        CallCase{"fnInt(1/x,x,0.001,1)", 0, 6.907755278982137, 1e-14},
        CallCase{"fnInt(sin(x),x,0,1000)", 0, 0.43762092370929706, kRoundedSin},
        CallCase{"fnInt(exp(0-x*x),x,-10,10)", 0, 1.7724538509055159, 1e-14},
        // A kink inside: |x - 0.3|.
        CallCase{"fnInt(sqrt((x-0.3)^2),x,0,1)", 0, 0.29, 1e-14},
        // Integrable singularities at an end, which the nodes never reach.
        CallCase{"fnInt(1/sqrt(x),x,0,1)", 0, 2.0, 1e-14}, CallCase{"fnInt(ln(x),x,0,1)", 0, -1.0, 1e-12},
        // ... also at an end other than 0, where a node near the end rounds onto it, and
        // singularities too strong for plain bisection (x^-0.9). Closed forms: 2 sqrt(1 - a),
        // asin(x/2), 1 / 0.1.
        CallCase{"fnInt(1/sqrt(1-x),x,0,1)", 0, 2.0, 1e-13}, CallCase{"fnInt(1/sqrt(4-x^2),x,0,2)", 0, M_PI / 2, 1e-13},
        CallCase{"fnInt(1/sqrt(1+x),x,-1,0)", 0, 2.0, 1e-13}, CallCase{"fnInt(1/sqrt(1-x),x,1,0)", 0, -2.0, 1e-13},
        CallCase{"fnInt(1/sqrt(1-x^2),x,-1,1)", 0, M_PI, 2e-13}, CallCase{"fnInt(1/sqrt(x-2),x,2,3)", 0, 2.0, 1e-13},
        CallCase{"fnInt(ln(1-x),x,0,1)", 0, -1.0, 1e-12}, CallCase{"fnInt(x^(0-0.9),x,0,1)", 0, 10.0, 1e-12},
        // Values below 1e-16 reach the caller whole: x over [0, 1e-9].
        CallCase{"fnInt(x,x,0,0.000000001)", 0, 5e-19, 1e-34}, CallCase{"fnInt(x,x,0,0.000000001)*1E18", 0, 0.5, 1e-15},
        // 1/x over [0, 1] has no value: the estimate never settles.
        CallCase{"fnInt(1/x,x,0,1)", -56, 0, 0}, CallCase{"fnInt(1/x^2,x,0,1)", -56, 0, 0},
        // The middle node of [-1, 1] is 0.
        CallCase{"fnInt(1/x,x,-1,1)", -5, 0, 0},
        // Samples beyond the double range: the integral is infinite.
        CallCase{"fnInt(exp(x),x,0,800)", -55, 0, 0}, CallCase{"fnInt(x,x,0,i)", -54, 0, 0},
        CallCase{"fnInt(x,x,0)", -8, 0, 0}, CallCase{"fnInt(x,x,0,1,2)", -8, 0, 0}, CallCase{"fnInt(x,,0,1)", -8, 0, 0},
        CallCase{"fnInt(x,x,0,1)*2+1", 0, 2.0, kQuadrature}));

INSTANTIATE_TEST_SUITE_P(
    EvalAndRoot, CalculusCall,
    testing::Values(CallCase{"fnEval(x*x+1,x,3)", 0, 10.0, 0.0},
                    CallCase{"fnEval(x*fnEval(y*y,y,3),x,2)", 0, 18.0, 0.0},
                    CallCase{"fnEval(sqrt(x),x,-4)", -54, 0, 0}, CallCase{"fnRoot(x^2-2,x,0,2)", 0, 1.41421356, 1e-8},
                    CallCase{"fnRoot(x*x-2,x,0,2)", 0, 1.41421356, 1e-8}, CallCase{"fnRoot(x^2+1,x,-1,1)", -12, 0, 0},
                    CallCase{"fnRoot(x-1,x,1,5)", 0, 1.0, 0.0},
                    // The search ends on neighbouring doubles, not at |f| < 1e-12.
                    CallCase{"fnRoot(x^2-2,x,0,2)", 0, 1.4142135623730951, 2.3e-16},
                    CallCase{"fnRoot(x^3,x,-1,2)", 0, 0.0, 1e-15}, CallCase{"fnRoot((x-1)^3,x,0,3)", 0, 1.0, 2.3e-16},
                    CallCase{"fnRoot(cos(x)-x,x,0,1)", 0, 0.7390851332151607, 1e-12},
                    CallCase{"fnEval(x^2,x,1/1E10)", 0, 1e-20, 4e-36},
                    // A root where f touches 0 without changing sign is not found.
                    CallCase{"fnRoot((x-1)^2,x,0,3)", -12, 0, 0},
                    // The midpoint 0 fails (division by 0): no root, not "Division error".
                    CallCase{"fnRoot(1/x,x,-1,1)", -12, 0, 0},
                    // A sign change at a pole: the bisection closes in on 0.5, where |f| is huge.
                    CallCase{"fnRoot(1/(x-0.5),x,0,2)", -12, 0, 0}));

INSTANTIATE_TEST_SUITE_P(
    SumAndProduct, CalculusCall,
    testing::Values(CallCase{"fnSum(x,x,1,10)", 0, 55.0, 0.0}, CallCase{"fnSum(x,x,1,10,2)", 0, 25.0, 0.0},
                    CallCase{"fnSum(x,x,10,1,-1)", 0, 55.0, 0.0}, CallCase{"fnSum(x,x,1,10,-1)", -41, 0, 0},
                    CallCase{"fnSum(x,x,10,1)", -41, 0, 0}, CallCase{"fnSum(x,x,1,10,20)", -41, 0, 0},
                    CallCase{"fnSum(x,x,1,10,0)", -41, 0, 0}, CallCase{"fnSum(x,x,3,3)", 0, 3.0, 0.0},
                    CallCase{"fnSum(x,x,1,1000000000)", -41, 0, 0}, CallCase{"fnSum(x,x,0,1,0.1)", 0, 5.5, 1e-12},
                    CallCase{"fnSum(x,x,1,10,)", 0, 55.0, 0.0}, CallCase{"fnProduct(x,x,1,5)", 0, 120.0, 0.0},
                    CallCase{"fnProduct(x,x,5,1,-2)", 0, 15.0, 0.0}, CallCase{"fnSum(k*k,k,1,3)", 0, 14.0, 0.0},
                    CallCase{"fnSum(1/k^2,k,1,100)", 0, 1.6349839001848923, 1e-13},
                    // Sum over x of x(1 + 2): the inner call sees each substituted x.
                    CallCase{"fnSum(fnSum(x*y,y,1,2),x,1,3)", 0, 18.0, 0.0},
                    // "x" inside "exp" is replaced too.
                    CallCase{"fnSum(exp(x),x,1,2)", -1, 0, 0}, CallCase{"fnSum(1/(x-2),x,1,3)", -5, 0, 0},
                    CallCase{"fnSum(x,x,1)", -8, 0, 0},
                    // The substituted value reads back as the same double.
                    CallCase{"fnSum(x*1E18,x,0.000000000000000001,0.000000000000000001)", 0, 1.0, 0.0},
                    CallCase{"fnSum(x,x,0.1,0.1)", 0, 0.1, 0.0}));

// Derivatives that the rules split: a left-to-right reading of the operators differs from
// splitting at the first one, which would give -9, 1, 6 and -4 for the first four.
INSTANTIATE_TEST_SUITE_P(
    Differentiate, CalculusCall,
    testing::Values(CallCase{"fnDeriv(x*x-x+x*x*x,x,2)", 0, 15.0, 1e-6}, CallCase{"fnDeriv(x*x/x*x,x,3)", 0, 6.0, 1e-6},
                    CallCase{"fnDeriv(x-x-x,x,1)", 0, -1.0, 1e-6}, CallCase{"fnDeriv(-x^2,x,-2)", 0, 4.0, 1e-5},
                    CallCase{"fnDeriv(-x*x+3*x,x,1)", 0, 1.0, 1e-6}, CallCase{"fnDeriv((x+1)*(x-1),x,3)", 0, 6.0, 1e-6},
                    CallCase{"fnDeriv((x*x),x,3)", 0, 6.0, 1e-6}, CallCase{"fnDeriv(x^3,x,2)", 0, 12.0, 1e-5},
                    CallCase{"fnDeriv(x^3,x,-2)", 0, 12.0, 1e-4},
                    CallCase{"fnDeriv(2^x,x,3)", 0, 8.0 * std::log(2.0), 1e-5},
                    CallCase{"fnDeriv(2^3^x,x,1)", 0, 8.0 * std::log(2.0) * 3.0 * std::log(3.0), 1e-4},
                    CallCase{"fnDeriv(RT(2,x),x,4)", 0, 0.25, 1e-6},
                    CallCase{"fnDeriv(x root 8,x,3)", 0, -std::log(8.0) * 2.0 / 9.0, 1e-6},
                    CallCase{"fnDeriv(sqrt(x),x,0)", 0, 1000.0, 1e-6}, CallCase{"fnDeriv(sin(x)*x,x,0)", 0, 0.0, 1e-9},
                    CallCase{"fnDeriv(x/(x-1),x,1)", -5, 0, 0}, CallCase{"fnDeriv(x*-x,x,1)", -1, 0, 0},
                    // The step follows x: far out there is a neighbourhood too.
                    CallCase{"fnDeriv(x,x,1e20)", 0, 1.0, 1e-15}, CallCase{"fnDeriv(x^2,x,1e20)", 0, 2e20, 1e6},
                    // x! is defined at whole numbers only: no neighbourhood at all.
                    CallCase{"fnDeriv(x!,x,3)", -55, 0, 0}, CallCase{"fnDeriv(x,x)", -8, 0, 0}));

// Numeric leaves: central differences refined by Richardson extrapolation. Functions that
// round to 12 decimals (sin, ln) bound what any step can reach, about 1e-10 here.
INSTANTIATE_TEST_SUITE_P(DifferentiateNumerically, CalculusCall,
                         testing::Values(CallCase{"fnDeriv(sin(x),x,1)", 0, 0.5403023058681398, 1e-8},
                                         CallCase{"fnDeriv(cos(x),x,2)", 0, -0.9092974268256817, 1e-8},
                                         CallCase{"fnDeriv(exp(x),x,10)", 0, 22026.465794806718, 1e-9},
                                         // The first steps reach beyond exp's range: they are skipped.
                                         CallCase{"fnDeriv(exp(x),x,700)", 0, 1.0142320547350045e304, 1e292},
                                         CallCase{"fnDeriv(x^3,x,-2)", 0, 12.0, 1e-10},
                                         CallCase{"fnDeriv(1/x,x,0.001)", 0, -1e6, 1e-3},
                                         CallCase{"fnDeriv(ln(x),x,0.001)", 0, 1000.0, 1e-5},
                                         CallCase{"fnDeriv(sin(1000*x),x,1)", 0, 562.379076290703, 1e-6},
                                         CallCase{"fnDeriv(sin(x),x,1000)", 0, 0.5623790762907029, 1e-8},
                                         // Close to the edge of the domain the step shrinks to fit.
                                         CallCase{"fnDeriv(sqrt(x),x,0.0000001)", 0, 1581.1388300841895, 1e-6}));

// The calculus works in radians inside and gives the user's unit back: a sine after it, in the
// same expression or the next one, is still in degrees.
TEST(CalculusCall, DerivativeAndIntegralWorkInRadiansAndGiveTheUnitBack)
{
    expectCase({"fnDeriv(sin(x),x,0)", 0, 1.0, 1e-9}, AngleMode::Degrees);
    expectCase({"fnInt(sin(x),x,0,pi)", 0, 2.0, 1e-5}, AngleMode::Degrees);
    expectCase({"fnInt(x,x,0,1)*0+sin 30", 0, 0.5, 1e-15}, AngleMode::Degrees);
    for (const char* text : {"fnInt(x,x,0,1)", "fnDeriv(x*x,x,1)", "fnInt(x,x,1,1)"}) {
        Engine engine;
        engine.settings.angleMode = AngleMode::Degrees;
        engine.evaluate(text, Engine::kModeScalar, 10);
        EXPECT_EQ(engine.settings.angleMode, AngleMode::Degrees) << text;
    }
}

TEST(CalculusCall, LeavesTheCallersBoundExpression)
{
    Engine engine;
    engine.setBoundExpression("t*t", "t");
    for (const char* text : {"fnEval(x+1,x,1)", "fnDeriv(x*x,x,1)", "fnRoot(x-1,x,0,2)", "fnInt(x,x,0,1)"}) {
        engine.resetError();
        engine.evaluate(text, Engine::kModeScalar, 10);
        EXPECT_EQ(engine.error(), 0) << text;
        EXPECT_EQ(engine.boundText(), "t*t") << text;
        EXPECT_EQ(engine.boundName(), "t") << text;
        EXPECT_EQ(engine.evaluateAt(3.0), 9.0) << text;
    }
}

TEST(CalculusCall, ReadsNumbersInDecimalWhateverTheRadix)
{
    Engine engine;
    const ValueCell result = engine.evaluate("fnSum(x,x,1,10)+1", Engine::kModeScalar, 16);
    EXPECT_EQ(engine.error(), 0);
    EXPECT_EQ(result.re, 56.0);
}

struct RootCase {
    const char* name;
    double (*f)(double);
    double a;
    double b;
    bool found;
    double root;
};

std::ostream& operator<<(std::ostream& out, const RootCase& c)
{
    return out << c.name;
}

class FindRootCases : public testing::TestWithParam<RootCase> {};

TEST_P(FindRootCases, BisectsOrReportsNoRoot)
{
    const RootCase& c = GetParam();
    const auto f = [&c](double x) -> std::optional<double> {
        const double y = c.f(x);
        if (std::isinf(y))
            return std::nullopt;
        return y;
    };
    const RootSearchResult result = findRoot(c.a, c.b, f);
    ASSERT_EQ(result.found, c.found);
    if (c.found) {
        EXPECT_NEAR(result.root, c.root, 1e-12 * std::fmax(1.0, std::fabs(c.root)));
    }
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Bisection, FindRootCases,
    testing::Values(RootCase{"cubic", [](double x) { return x * x * x - x - 1.0; }, 1, 2, true, 1.324717957244746},
                    RootCase{"reversed bounds", [](double x) { return x - 0.25; }, 1, -1, true, 0.25},
                    RootCase{"root at an end", [](double x) { return x - 2.0; }, 2, 5, true, 2.0},
                    RootCase{"no sign change", [](double x) { return x * x + 1.0; }, -1, 1, false, 0},
                    RootCase{"failure at a midpoint", [](double x) { return x == 0.0 ? kInf : x; }, -1, 1, false, 0},
                    RootCase{"NaN at a midpoint", [](double x) { return x > 0.0 ? std::nan("") : -1.0; }, -1, 1, false,
                             0},
                    RootCase{"infinite bound", [](double x) { return x; }, -kInf, 1, false, 0},
                    RootCase{"jump", [](double x) { return x < 0.3 ? -1.0 : 1.0; }, 0, 1, true, 0.3},
                    RootCase{"wide interval", [](double x) { return x - 1e200; }, -1e300, 1e300, true, 1e200}));

}  // namespace

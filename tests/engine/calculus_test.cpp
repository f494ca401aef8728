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
    int error;        // expected engine error, 0 for success
    double value;     // meaningful when error is 0
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

// Left rectangles over 2048 steps: the sum of (k/2048)^2 for k < 2048, over 2048.
constexpr double kLeftSquares = 2861214720.0 / 8589934592.0;

INSTANTIATE_TEST_SUITE_P(
    Integrate, CalculusCall,
    testing::Values(CallCase{"fnInt(x^2,x,0,1)", 0, kLeftSquares, 1e-15},
                    CallCase{"fnInt(x^2,x,1,0)", 0, -kLeftSquares, 1e-15},
                    CallCase{"fnInt(x*x,x,0,1)", 0, kLeftSquares, 1e-15},
                    CallCase{"fnInt(x,x,2,2)", 0, 0.0, 0.0},
                    CallCase{"fnInt(x,x,0,1)", 0, 2047.0 / 4096.0, 1e-15},
                    CallCase{"fnInt(3,t,-1,2)", 0, 9.0, 1e-12},
                    CallCase{"fnInt(1/x,x,0,1)", -5, 0, 0},
                    CallCase{"fnInt(x,x,0,i)", -54, 0, 0},
                    CallCase{"fnInt(x,x,0)", -8, 0, 0},
                    CallCase{"fnInt(x,x,0,1,2)", -8, 0, 0},
                    CallCase{"fnInt(x,,0,1)", -8, 0, 0},
                    CallCase{"fnInt(x,x,0,1)*2+1", 0, 2047.0 / 2048.0 + 1.0, 1e-15}));

INSTANTIATE_TEST_SUITE_P(
    EvalAndRoot, CalculusCall,
    testing::Values(CallCase{"fnEval(x*x+1,x,3)", 0, 10.0, 0.0},
                    CallCase{"fnEval(x*fnEval(y*y,y,3),x,2)", 0, 18.0, 0.0},
                    CallCase{"fnEval(sqrt(x),x,-4)", -54, 0, 0},
                    CallCase{"fnRoot(x^2-2,x,0,2)", 0, 1.41421356, 1e-8},
                    CallCase{"fnRoot(x*x-2,x,0,2)", 0, 1.41421356, 1e-8},
                    CallCase{"fnRoot(x^2+1,x,-1,1)", -12, 0, 0},
                    CallCase{"fnRoot(x-1,x,1,5)", 0, 1.0, 0.0},
                    // The midpoint 0 fails (division by 0): no root, not "Division error".
                    CallCase{"fnRoot(1/x,x,-1,1)", -12, 0, 0},
                    // A sign change at a pole: the bisection closes in on 0.5, where |f| is huge.
                    CallCase{"fnRoot(1/(x-0.5),x,0,2)", -12, 0, 0}));

INSTANTIATE_TEST_SUITE_P(
    SumAndProduct, CalculusCall,
    testing::Values(CallCase{"fnSum(x,x,1,10)", 0, 55.0, 0.0},
                    CallCase{"fnSum(x,x,1,10,2)", 0, 25.0, 0.0},
                    CallCase{"fnSum(x,x,10,1,-1)", 0, 55.0, 0.0},
                    CallCase{"fnSum(x,x,1,10,-1)", -41, 0, 0},
                    CallCase{"fnSum(x,x,10,1)", -41, 0, 0},
                    CallCase{"fnSum(x,x,1,10,20)", -41, 0, 0},
                    CallCase{"fnSum(x,x,1,10,0)", -41, 0, 0},
                    CallCase{"fnSum(x,x,3,3)", 0, 3.0, 0.0},
                    CallCase{"fnSum(x,x,1,1000000000)", -41, 0, 0},
                    CallCase{"fnSum(x,x,0,1,0.1)", 0, 5.5, 1e-12},
                    CallCase{"fnSum(x,x,1,10,)", 0, 55.0, 0.0},
                    CallCase{"fnProduct(x,x,1,5)", 0, 120.0, 0.0},
                    CallCase{"fnProduct(x,x,5,1,-2)", 0, 15.0, 0.0},
                    CallCase{"fnSum(k*k,k,1,3)", 0, 14.0, 0.0},
                    CallCase{"fnSum(1/k^2,k,1,100)", 0, 1.6349839001848923, 1e-13},
                    // Sum over x of x(1 + 2): the inner call sees each substituted x.
                    CallCase{"fnSum(fnSum(x*y,y,1,2),x,1,3)", 0, 18.0, 0.0},
                    // "x" inside "exp" is replaced too.
                    CallCase{"fnSum(exp(x),x,1,2)", -1, 0, 0},
                    CallCase{"fnSum(1/(x-2),x,1,3)", -5, 0, 0},
                    CallCase{"fnSum(x,x,1)", -8, 0, 0}));

// Derivatives that the rules split: a left-to-right reading of the operators differs from
// splitting at the first one, which would give -9, 1, 6 and -4 for the first four.
INSTANTIATE_TEST_SUITE_P(
    Differentiate, CalculusCall,
    testing::Values(CallCase{"fnDeriv(x*x-x+x*x*x,x,2)", 0, 15.0, 1e-6},
                    CallCase{"fnDeriv(x*x/x*x,x,3)", 0, 6.0, 1e-6},
                    CallCase{"fnDeriv(x-x-x,x,1)", 0, -1.0, 1e-6},
                    CallCase{"fnDeriv(-x^2,x,-2)", 0, 4.0, 1e-5},
                    CallCase{"fnDeriv(-x*x+3*x,x,1)", 0, 1.0, 1e-6},
                    CallCase{"fnDeriv((x+1)*(x-1),x,3)", 0, 6.0, 1e-6},
                    CallCase{"fnDeriv((x*x),x,3)", 0, 6.0, 1e-6},
                    CallCase{"fnDeriv(x^3,x,2)", 0, 12.0, 1e-5},
                    CallCase{"fnDeriv(x^3,x,-2)", 0, 12.0, 1e-4},
                    CallCase{"fnDeriv(2^x,x,3)", 0, 8.0 * std::log(2.0), 1e-5},
                    CallCase{"fnDeriv(2^3^x,x,1)", 0, 8.0 * std::log(2.0) * 3.0 * std::log(3.0), 1e-4},
                    CallCase{"fnDeriv(RT(2,x),x,4)", 0, 0.25, 1e-6},
                    CallCase{"fnDeriv(x root 8,x,3)", 0, -std::log(8.0) * 2.0 / 9.0, 1e-6},
                    CallCase{"fnDeriv(sqrt(x),x,0)", 0, 1000.0, 1e-6},
                    CallCase{"fnDeriv(sin(x)*x,x,0)", 0, 0.0, 1e-9},
                    CallCase{"fnDeriv(x/(x-1),x,1)", -5, 0, 0},
                    CallCase{"fnDeriv(x*-x,x,1)", -1, 0, 0},
                    CallCase{"fnDeriv(x,x,1e20)", -55, 0, 0},
                    CallCase{"fnDeriv(x,x)", -8, 0, 0}));

TEST(CalculusCall, DerivativeAndIntegralSwitchToRadians)
{
    expectCase({"fnDeriv(sin(x),x,0)", 0, 1.0, 1e-9}, AngleMode::Degrees);
    expectCase({"fnInt(sin(x),x,0,pi)", 0, 2.0, 1e-5}, AngleMode::Degrees);
    for (const char* text : {"fnInt(x,x,0,1)", "fnDeriv(x*x,x,1)", "fnInt(x,x,1,1)"}) {
        Engine engine;
        engine.settings.angleMode = AngleMode::Degrees;
        engine.evaluate(text, Engine::kModeScalar, 10);
        EXPECT_EQ(engine.settings.angleMode, AngleMode::Radians) << text;
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
    testing::Values(
        RootCase{"cubic", [](double x) { return x * x * x - x - 1.0; }, 1, 2, true, 1.324717957244746},
        RootCase{"reversed bounds", [](double x) { return x - 0.25; }, 1, -1, true, 0.25},
        RootCase{"root at an end", [](double x) { return x - 2.0; }, 2, 5, true, 2.0},
        RootCase{"no sign change", [](double x) { return x * x + 1.0; }, -1, 1, false, 0},
        RootCase{"failure at a midpoint", [](double x) { return x == 0.0 ? kInf : x; }, -1, 1, false, 0},
        RootCase{"NaN at a midpoint", [](double x) { return x > 0.0 ? std::nan("") : -1.0; }, -1, 1, false, 0},
        RootCase{"infinite bound", [](double x) { return x; }, -kInf, 1, false, 0},
        RootCase{"jump", [](double x) { return x < 0.3 ? -1.0 : 1.0; }, 0, 1, true, 0.3},
        RootCase{"wide interval", [](double x) { return x - 1e200; }, -1e300, 1e300, true, 1e200}));

}  // namespace

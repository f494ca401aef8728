#pragma once

#include <string>
#include <string_view>

#include "root_search.h"

class Engine;

// Integral, derivative and root of the engine's bound expression (setBoundExpression), which
// the caller sets before; each evaluation of f(x) is Engine::evaluateAt(x).

// The integral over [a, b] by adaptive Gauss-Kronrod quadrature (15 points, halving the piece
// with the largest error estimate), to about 1e-13 of the integral's size on smooth integrands,
// negated when a > b. The ends themselves are never evaluated. When about 8000 evaluations do
// not bring the error estimate below 1e-10 of the size (a divergent integral such as 1/x over
// [0, 1]) it raises "Integral did not converge" (-56). Switches the engine to radians and
// leaves it so. An error raised by f stands and the result is 0.
double integrate(Engine& engine, double a, double b);

// Derivative of text with respect to the bound variable at x, by the sum, product, root and
// power rules down to sub-texts that are differentiated numerically: central differences with
// a step scaled to x, refined by Richardson extrapolation (about 1e-10 for smooth functions),
// and the one-sided rule with 1e-6 steps where f is not defined on both sides. Overwrites the
// bound expression (the variable name stays), switches the engine to radians and leaves it so.
// Failures raise the engine error (-55 when no neighbourhood of x is defined).
double differentiate(Engine& engine, std::string_view text, double x);

// Keeps the engine's bound expression and restores it when the scope ends, so that a call
// evaluated inside an expression leaves the context of whoever set it (an outer fnDeriv, a
// plotted function) as it was.
class BoundExpressionScope {
public:
    explicit BoundExpressionScope(Engine& engine);
    ~BoundExpressionScope();
    BoundExpressionScope(const BoundExpressionScope&) = delete;
    BoundExpressionScope& operator=(const BoundExpressionScope&) = delete;

private:
    Engine& engine_;
    std::string text_;
    std::string name_;
};

// The calculus functions of the function-call table, as the expansion calls them: the value
// of the call for its argument text (numeric arguments are read in radix 10 whatever the
// radix), or 0 with the engine error set.
double callFnInt(Engine& engine, std::string_view arguments, int radix);
double callFnDeriv(Engine& engine, std::string_view arguments, int radix);
double callFnEval(Engine& engine, std::string_view arguments, int radix);
double callFnRoot(Engine& engine, std::string_view arguments, int radix);
double callFnSum(Engine& engine, std::string_view arguments, int radix);
double callFnProduct(Engine& engine, std::string_view arguments, int radix);

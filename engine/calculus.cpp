#include "calculus.h"

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "call_arguments.h"
#include "engine.h"

namespace {

// One 2048th of the interval; a power of two, so h is exact when the length is.
constexpr double kStepFraction = 0.00048828125;
// fnRoot accepts the bisection's result only when |f| is this small there.
constexpr double kRootTolerance = 0.001;

// Reads (expression, variable, numbers...) and binds the expression. The numbers and the calls
// inside the expression are computed first: they may bind expressions of their own.
std::optional<std::vector<double>> bindCall(Engine& engine, std::string_view arguments,
                                            std::size_t numberCount)
{
    CallArguments list(engine, arguments);
    if (!list.expect(2 + numberCount, 2 + numberCount))
        return std::nullopt;
    std::optional<std::vector<double>> numbers = list.numbers(2);
    if (!numbers)
        return std::nullopt;
    std::string expression(list.text(0));
    if (!engine.expandFunctionCalls(expression, 10))
        return std::nullopt;
    engine.setBoundExpression(std::move(expression), std::string(list.text(1)));
    return numbers;
}

// f(x) of the bound expression for the bisection: nothing when it fails, with the error
// cleared first so that one failed midpoint does not stop the search. A cancel request is
// not cleared (resetError keeps it), so the search ends at its next step.
std::optional<double> boundValueOrNothing(Engine& engine, double x)
{
    engine.resetError();
    const double y = engine.evaluateAt(x);
    if (engine.error() != ErrorCode::kNone)
        return std::nullopt;
    return y;
}

}  // namespace

BoundExpressionScope::BoundExpressionScope(Engine& engine)
    : engine_(engine), text_(engine.boundText()), name_(engine.boundName())
{
}

BoundExpressionScope::~BoundExpressionScope()
{
    engine_.setBoundExpression(std::move(text_), std::move(name_));
}

double integrate(Engine& engine, double a, double b)
{
    engine.settings.angleMode = AngleMode::Radians;
    if (a == b)
        return 0.0;
    double sign = 1.0;
    if (a > b) {
        std::swap(a, b);
        sign = -1.0;
    }
    const double h = std::fabs(b - a) * kStepFraction;
    engine.resetError();
    double sum = 0.0;
    double count = 0.0;
    for (double x = a; x < b && !engine.stopRequested();) {
        sum += engine.evaluateAt(x);
        count += 1.0;
        const double next = x + h;
        // Far from 0 a tiny interval has fewer than 2048 doubles in it.
        if (next == x)
            break;
        x = next;
    }
    if (engine.error() != ErrorCode::kNone)
        return 0.0;
    return (b - a) * sum / count * sign;
}

double callFnInt(Engine& engine, std::string_view arguments, int)
{
    const BoundExpressionScope scope(engine);
    const auto bounds = bindCall(engine, arguments, 2);
    return bounds ? integrate(engine, (*bounds)[0], (*bounds)[1]) : 0.0;
}

double callFnDeriv(Engine& engine, std::string_view arguments, int)
{
    const BoundExpressionScope scope(engine);
    const auto at = bindCall(engine, arguments, 1);
    return at ? differentiate(engine, engine.boundText(), (*at)[0]) : 0.0;
}

double callFnEval(Engine& engine, std::string_view arguments, int)
{
    const BoundExpressionScope scope(engine);
    const auto at = bindCall(engine, arguments, 1);
    return at ? engine.evaluateAt((*at)[0]) : 0.0;
}

double callFnRoot(Engine& engine, std::string_view arguments, int)
{
    const BoundExpressionScope scope(engine);
    const auto bounds = bindCall(engine, arguments, 2);
    if (!bounds)
        return 0.0;
    const auto f = [&engine](double x) { return boundValueOrNothing(engine, x); };
    const RootSearchResult search = findRoot((*bounds)[0], (*bounds)[1], f);
    const std::optional<double> residual = search.found ? f(search.root) : std::nullopt;
    if (!residual || std::fabs(*residual) > kRootTolerance) {
        engine.resetError();
        engine.raise(ErrorCode::kRootNotFound);
        return 0.0;
    }
    return search.root;
}

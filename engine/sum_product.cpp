// fnSum and fnProduct: an expression text summed or multiplied over a range of its variable.
#include <cmath>
#include <optional>
#include <string>

#include "c_number.h"
#include "calculus.h"
#include "call_arguments.h"
#include "engine.h"

namespace {

enum class Fold { Sum, Product };

// Every occurrence of the variable, found by plain case-sensitive search, replaced by the
// value as exact text: 'x^2+x' with x = 0.1 gives '(0.1)^2+(0.1)'. A variable
// inside a longer word is replaced too ("x" in "exp").
std::string substituted(std::string_view expression, std::string_view variable, double value)
{
    const std::string replacement = "(" + cnum::exactDecimal(value) + ")";
    std::string text;
    std::size_t from = 0;
    for (std::size_t at = expression.find(variable); at != std::string_view::npos;
         at = expression.find(variable, from)) {
        text.append(expression.substr(from, at - from));
        text.append(replacement);
        from = at + variable.size();
    }
    text.append(expression.substr(from));
    return text;
}

// Terms are texts of their own: calls inside them (a nested fnSum over the substituted value)
// are expanded again for each term.
std::optional<double> term(Engine& engine, std::string_view expression, std::string_view variable,
                           double value)
{
    std::string text = substituted(expression, variable, value);
    if (!engine.expandFunctionCalls(text, 10))
        return std::nullopt;
    const Engine::ScalarResult result = engine.evaluateScalar(text, {}, 0.0, 10);
    if (!result.ok || engine.error() != ErrorCode::kNone)
        return std::nullopt;
    if (!result.value.isReal()) {
        engine.raise(ErrorCode::kComplexUnsupported);
        return std::nullopt;
    }
    return result.value.re;
}

// The most terms one call may take: a million terms already take about a second, and nested
// calls multiply (a cancel request stops them between any two terms).
constexpr double kMaxTerms = 1e6;

// The step must point from start towards end, not overshoot it, and not need more terms than
// the calculator can take.
bool stepFits(double step, double distance)
{
    const bool direction = distance > 0.0 ? step > 0.0 && step <= distance : step < 0.0 && step >= distance;
    return direction && distance / step < kMaxTerms;
}

double fold(Engine& engine, std::string_view arguments, Fold kind)
{
    CallArguments list(engine, arguments);
    if (!list.expect(4, 5))
        return 0.0;
    const auto numbers = list.numbers(2);
    if (!numbers)
        return 0.0;
    const double start = (*numbers)[0];
    const double end = (*numbers)[1];
    const double step = numbers->size() > 2 ? (*numbers)[2] : 1.0;
    if (!std::isfinite(start) || !std::isfinite(end) || !std::isfinite(step)) {
        engine.raise(ErrorCode::kOutOfRange);
        return 0.0;
    }
    const std::string_view expression = list.text(0);
    const std::string_view variable = list.text(1);
    const double distance = end - start;
    if (distance == 0.0) {
        const auto single = term(engine, expression, variable, start);
        return single ? *single : 0.0;
    }
    if (!stepFits(step, distance)) {
        engine.raise(ErrorCode::kSumStep);
        return 0.0;
    }
    double total = kind == Fold::Sum ? 0.0 : 1.0;
    // v = start + k x step rather than repeated addition: no drift, and always progress.
    for (double k = 0.0;; k += 1.0) {
        const double v = start + k * step;
        if (step > 0.0 ? v > end : v < end)
            break;
        if (engine.stopRequested())
            return 0.0;
        const auto value = term(engine, expression, variable, v);
        if (!value)
            return 0.0;
        total = kind == Fold::Sum ? total + *value : total * *value;
    }
    return total;
}

}  // namespace

double callFnSum(Engine& engine, std::string_view arguments, int)
{
    return fold(engine, arguments, Fold::Sum);
}

double callFnProduct(Engine& engine, std::string_view arguments, int)
{
    return fold(engine, arguments, Fold::Product);
}

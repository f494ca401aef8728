// fnSum and fnProduct: an expression text summed or multiplied over a range of its variable.
#include <cmath>
#include <optional>
#include <string>

#include "ascii.h"
#include "c_number.h"
#include "calculus.h"
#include "call_arguments.h"
#include "compiled_expression.h"
#include "engine.h"
#include "function_calls.h"

namespace {

enum class Fold { Sum, Product };

// Every occurrence of the variable, found by plain case-sensitive search, replaced by
// replacement: 'x^2+x' with "(0.1)" gives '(0.1)^2+(0.1)'. A variable inside a longer word is
// replaced too ("x" in "exp").
std::string substituted(std::string_view expression, std::string_view variable, std::string_view replacement)
{
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

// The value as exact text: it reads back as the very same number.
std::string valueText(double value)
{
    return "(" + cnum::exactDecimal(value) + ")";
}

std::optional<double> realTerm(Engine& engine, Engine::ScalarResult result)
{
    if (!result.ok || engine.error() != ErrorCode::kNone)
        return std::nullopt;
    if (!result.value.isReal()) {
        engine.raise(ErrorCode::kComplexUnsupported);
        return std::nullopt;
    }
    return result.value.re;
}

// Terms are texts of their own: calls inside them (a nested fnSum over the substituted value)
// are expanded again for each term.
std::optional<double> term(Engine& engine, std::string_view expression, std::string_view variable, double value)
{
    std::string text = substituted(expression, variable, valueText(value));
    if (!engine.expandFunctionCalls(text, 10))
        return std::nullopt;
    return realTerm(engine, engine.evaluateScalar(text, {}, 0.0, 10));
}

// A term text with the variable's value in place, compiled once. The value's text "(0.25)" or
// "(-0.25)" is one operand token in parentheses, after a minus for a negative value; the
// placeholder word in its place, "(qq)" or "(-qq)", makes the same tokens with a bound variable
// for the operand. The text reads back as the value itself, so running the compiled form with
// the value gives what evaluating the substituted text gives. Not for terms with calls in them
// (those are expanded again for each term), nor for values written with an exponent.
class CompiledTerms {
public:
    CompiledTerms(Engine& engine, std::string_view expression, std::string_view variable) : engine_(engine)
    {
        if (ascii::upper(expression).find(kPlaceholderUpper) != std::string::npos)
            return;
        const std::string positive = substituted(expression, variable, "(qq)");
        const std::string negative = substituted(expression, variable, "(-qq)");
        if (findNextFunctionCall(positive) || findNextFunctionCall(negative))
            return;
        // A text that does not compile fails on each term as text too; leave that to the text.
        const int error = engine.error();
        usable_ = engine.compileScalar(positive, kPlaceholder, 10, positive_) &&
                  engine.compileScalar(negative, kPlaceholder, 10, negative_);
        if (!usable_) {
            engine.resetError();
            engine.raise(error);
        }
    }

    bool covers(double value) const { return usable_ && std::fabs(value) < kExponentFrom; }

    std::optional<double> term(double value)
    {
        const CompiledExpression& program = std::signbit(value) ? negative_ : positive_;
        double real = 0.0;
        if (engine_.runScalarReal(program, std::fabs(value), real))
            return real;
        return realTerm(engine_, engine_.runScalar(program, std::fabs(value)));
    }

private:
    static constexpr std::string_view kPlaceholder = "qq";
    static constexpr std::string_view kPlaceholderUpper = "QQ";
    // From here on the exact text of a value has an exponent ("1e+16"): not one plain operand.
    static constexpr double kExponentFrom = 1e16;

    Engine& engine_;
    bool usable_ = false;
    CompiledExpression positive_;
    CompiledExpression negative_;
};

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
    CompiledTerms compiled(engine, expression, variable);
    // v = start + k x step rather than repeated addition: no drift, and always progress.
    for (double k = 0.0;; k += 1.0) {
        const double v = start + k * step;
        if (step > 0.0 ? v > end : v < end)
            break;
        if (engine.stopRequested())
            return 0.0;
        const auto value = compiled.covers(v) ? compiled.term(v) : term(engine, expression, variable, v);
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

#include <cmath>

#include "complex_math.h"
#include "scalar_functions.h"

namespace scalar_ops {

namespace {

using RealFunction = double (*)(double);

// A function of real numbers only: a complex operand is refused. Adding 0 turns the -0 that
// rounding a small negative number gives into 0, which a display would show as "-0".
void applyReal(ScalarStack& stack, std::size_t base, OperatorContext& context, RealFunction function)
{
    applyUnary(stack, base, context, [function](CalcValue x, OperatorContext& c) -> std::optional<CalcValue> {
        if (!x.isReal()) {
            c.raise(ErrorCode::kComplexUnsupported);
            return std::nullopt;
        }
        return CalcValue{function(x.re) + 0.0, 0.0};
    });
}

}  // namespace

void absoluteValue(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnary(stack, base, context, [](CalcValue x, OperatorContext&) {
        return std::optional(CalcValue{cmath::modulus(x), 0.0});
    });
}

void sign(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyUnary(stack, base, context, [](CalcValue x, OperatorContext&) {
        if (x.isReal())
            return std::optional(CalcValue{x.re > 0.0 ? 1.0 : x.re < 0.0 ? -1.0 : 0.0, 0.0});
        // A complex number's direction: the point of the unit circle on its ray.
        const double length = cmath::modulus(x);
        return std::optional(CalcValue{x.re / length, x.im / length});
    });
}

void floor(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyReal(stack, base, context, [](double x) { return std::floor(x); });
}

void ceiling(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyReal(stack, base, context, [](double x) { return std::ceil(x); });
}

void roundHalfAway(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyReal(stack, base, context, [](double x) { return std::round(x); });
}

void truncate(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyReal(stack, base, context, [](double x) { return std::trunc(x); });
}

}  // namespace scalar_ops

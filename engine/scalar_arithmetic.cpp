#include "scalar_arithmetic.h"

#include "complex_math.h"

namespace scalar_ops {

void add(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyBinary(stack, base, context,
                [](CalcValue a, CalcValue b, OperatorContext&) { return std::optional(cmath::add(a, b)); });
}

void subtract(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    if (operandCount(stack, base) == 1) {
        stack.back() = {-stack.back().re, -stack.back().im};
        return;
    }
    applyBinary(stack, base, context,
                [](CalcValue a, CalcValue b, OperatorContext&) { return std::optional(cmath::subtract(a, b)); });
}

void multiply(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyBinary(stack, base, context,
                [](CalcValue a, CalcValue b, OperatorContext&) { return std::optional(cmath::multiply(a, b)); });
}

void divide(ScalarStack& stack, std::size_t base, OperatorContext& context)
{
    applyBinary(stack, base, context, [](CalcValue a, CalcValue b, OperatorContext& c) -> std::optional<CalcValue> {
        if (b.re == 0.0 && b.im == 0.0) {
            c.raise(ErrorCode::kDivision);
            return std::nullopt;
        }
        return cmath::divide(a, b);
    });
}

}  // namespace scalar_ops

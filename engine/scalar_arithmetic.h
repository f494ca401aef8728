#pragma once

#include "operator_context.h"

// "+", "-", "*" and "/" of the scalar operator table.
namespace scalar_ops {

void add(ScalarStack& stack, std::size_t base, OperatorContext& context);
// With exactly one operand above the base, "-" negates it: this is how "-5" and "(-3)" work.
void subtract(ScalarStack& stack, std::size_t base, OperatorContext& context);
void multiply(ScalarStack& stack, std::size_t base, OperatorContext& context);
// Division by exactly 0 + 0i raises "Division error".
void divide(ScalarStack& stack, std::size_t base, OperatorContext& context);

}  // namespace scalar_ops

#pragma once

#include <string_view>

#include "operator_context.h"

// The scalar operator table: the operation of each operator name the evaluator and the
// RPN mode apply. Returns nullptr when the name is not an operator (it is then an operand).
ScalarOperation findScalarOperation(std::string_view name);

// An operation with the number of operands it pops: 1 or 2 (every operation raises "Syntax
// error" with fewer above the base, except "-", which negates a single operand).
struct ScalarOperator {
    ScalarOperation operation = nullptr;
    int arity = 0;
};
ScalarOperator findScalarOperator(std::string_view name);

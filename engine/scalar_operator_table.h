#pragma once

#include <string_view>

#include "operator_context.h"

// The scalar operator table: the operation of each operator name the evaluator and the
// RPN mode apply. Returns nullptr when the name is not an operator (it is then an operand).
ScalarOperation findScalarOperation(std::string_view name);

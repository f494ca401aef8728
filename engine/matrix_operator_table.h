#pragma once

#include <string_view>

#include "operator_context.h"

// The matrix operator table of the matrix mode. Returns nullptr when the name is not an
// operator (it is then an operand).
MatrixOperation findMatrixOperation(std::string_view name);

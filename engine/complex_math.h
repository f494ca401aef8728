#pragma once

#include "calc_value.h"

// Pure complex functions with no error reporting: a domain failure shows as a NaN part.
namespace cmath {

CalcValue add(CalcValue a, CalcValue b);
CalcValue subtract(CalcValue a, CalcValue b);
CalcValue multiply(CalcValue a, CalcValue b);
// 1/z; zero gives NaN parts.
CalcValue reciprocal(CalcValue z);
// a/b; a zero divisor gives NaN parts.
CalcValue divide(CalcValue a, CalcValue b);

}  // namespace cmath

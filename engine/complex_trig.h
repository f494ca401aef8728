#pragma once

#include "calc_value.h"

// Circular and hyperbolic functions of a complex argument in radians, with no error reporting:
// a pole or an overflow shows as a NaN part.
namespace cmath {

// A real argument takes the real library function, so sin pi/6 has no imaginary rounding noise.
CalcValue sin(CalcValue z);
CalcValue cos(CalcValue z);
// Two formulas: one for |Im z| < 1, one built on 1/sinh(Im z) that stays finite for large |Im z|.
CalcValue tan(CalcValue z);

// Real arguments take the real functions; others go through sin and cos of iz.
CalcValue sinh(CalcValue z);
CalcValue cosh(CalcValue z);
// Saturates at +1 or -1 for a real part at or beyond +-700 with |Im z| < 1e-12; otherwise -i tan(iz).
CalcValue tanh(CalcValue z);

// Reciprocals of tan, cos, sin, tanh, cosh and sinh: a zero of the function gives NaN parts.
CalcValue cot(CalcValue z);
CalcValue sec(CalcValue z);
CalcValue csc(CalcValue z);
CalcValue coth(CalcValue z);
CalcValue sech(CalcValue z);
CalcValue csch(CalcValue z);

}  // namespace cmath

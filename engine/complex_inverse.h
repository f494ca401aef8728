#pragma once

#include "calc_value.h"

// Inverse circular and hyperbolic functions of a complex argument, results in radians, with no
// error reporting: a singular point shows as a NaN part.
//
// Their values are those of the logarithmic formulas
//   asin z = -i ln(iz + (1 - z^2)^(1/2))     asinh z = ln(z + (z^2 + 1)^(1/2))
//   acos z = -i ln(z + i (1 - z^2)^(1/2))    acosh z = ln(z + (z^2 - 1)^(1/2))
//   atan z = (i/2) ln((i + z) / (i - z))     atanh z = (1/2) ln((1 + z) / (1 - z))
// but not their arithmetic, which cancels near 0 (asinh 1e-17 would be 0), near the branch
// points, and squares parts beyond 1e154 into infinity. A real argument in the real domain
// takes the C library's real function; any other runs the algorithm of Hull, Fairgrieve and
// Tang for asin, acos, asinh, acosh (log1p forms of the real part, atan2 forms of the angle,
// asymptotic forms beyond 1/eps) and the log1p form of atanh, with atan z = -i atanh(iz).
// All keep full relative precision in both parts, from the smallest to the largest doubles.
//
// Beyond |6e7| on an axis (the other part within 1e-12) asin, acos, asinh and acosh give the
// growing part directly as +-ln(2|z|). A cleaning step then zeroes a part smaller than
// |result| x 3.333e-16 (when that bound is below 1e-5), and a real argument whose value is real
// gets an imaginary part of exactly 0.
//
// On the cuts, where a zero part has no sign in this engine, each function takes a stated side:
// asin and acos take x > 1 from below and x < -1 from above, as their formulas do: asin 2 =
// pi/2 - 1.317i, asin -2 = -pi/2 + 1.317i, acos 2 = 1.317i, acos -2 = pi - 1.317i. acosh takes
// the principal value with Re >= 0 everywhere, and Im >= 0 on its cut: acosh -2 = 1.317 + pi i,
// acosh 0.5 = i pi/3, acosh -0.5 = 2i pi/3. atanh takes its cut from above (atanh 2 = 0.549 +
// i pi/2), asinh from the right (asinh 2i = 1.317 + i pi/2), and atan has the real part -pi/2
// on both halves of its cut, as its formula gives (atan 2i = -pi/2 + 0.549i).
namespace cmath {

CalcValue asin(CalcValue z);
CalcValue acos(CalcValue z);
CalcValue atan(CalcValue z);
CalcValue asinh(CalcValue z);
CalcValue acosh(CalcValue z);
CalcValue atanh(CalcValue z);

// atan(1/z); the right angle pi/2 for z = 0.
CalcValue acot(CalcValue z);
// atanh(1/z); NaN parts at 0, 1 and -1.
CalcValue acoth(CalcValue z);
// acos, asin, acosh and asinh of 1/z; NaN parts at 0.
CalcValue asec(CalcValue z);
CalcValue acsc(CalcValue z);
CalcValue asech(CalcValue z);
CalcValue acsch(CalcValue z);

}  // namespace cmath

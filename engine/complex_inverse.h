#pragma once

#include "calc_value.h"

// Inverse circular and hyperbolic functions of a complex argument, results in radians, with no
// error reporting: a singular point shows as a NaN part.
//
// asin, acos, asinh, acosh, atan and atanh are the logarithmic formulas with every square and
// square root taken by the complex power:
//   asin z = -i ln(iz + (1 - z^2)^(1/2))     asinh z = ln(z + (z^2 + 1)^(1/2))
//   acos z = -i ln(z + i (1 - z^2)^(1/2))    acosh z = ln(z + (z^2 - 1)^(1/2))
//   atan z = (i/2) ln((i + z) / (i - z))     atanh z = (1/2) ln((1 + z) / (1 - z))
// Each formula cancels catastrophically in one half-plane (the sum under the logarithm is then a
// difference of nearly equal numbers), and the polar power squares a negative number with a
// rounding error (sin 2pi is not 0) that the root magnifies near a branch point. So the formulas
// run only where they are stable, and symmetries carry the value to z: asin and asinh are odd,
// acos(-z) = pi - acos z, the three commute with conjugation, and acosh works from -z. On the
// segments where the power's noise would meet a branch point, acosh x = i acos x and
// asinh iy = i asin y.
// Beyond |6e7| on an axis (the other part within 1e-12) asin, acos, asinh and acosh give the
// growing part directly as +-ln(2|z|). A cleaning step then zeroes a part smaller than
// |result| x 3.333e-16 (when that bound is below 1e-5), and a real argument whose value is real
// gets an imaginary part of exactly 0.
//
// On the cuts of the real axis asin and acos keep the formula's values: asin 2 = pi/2 - 1.317i,
// asin -2 = -pi/2 + 1.317i, acos 2 = 1.317i, acos -2 = pi - 1.317i. acosh takes the principal
// value with Re >= 0 everywhere, and Im >= 0 on its cut: acosh -2 = 1.317 + pi i,
// acosh 0.5 = i pi/3, acosh -0.5 = 2i pi/3.
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

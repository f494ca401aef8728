#pragma once

#include "calc_value.h"

// Pure complex functions with no error reporting: a domain failure shows as a NaN part.
// Circular and hyperbolic functions are in complex_trig.h, their inverses in complex_inverse.h.
namespace cmath {

CalcValue add(CalcValue a, CalcValue b);
CalcValue subtract(CalcValue a, CalcValue b);
CalcValue multiply(CalcValue a, CalcValue b);
// 1/z; zero gives NaN parts.
CalcValue reciprocal(CalcValue z);
// a/b; a zero divisor gives NaN parts.
CalcValue divide(CalcValue a, CalcValue b);

// |z|.
double modulus(CalcValue z);
// The principal argument in (-pi, pi]; 0 for z = 0. A zero imaginary part counts as +0 whatever
// its sign, so every negative real number has the argument pi.
double argument(CalcValue z);
// ln |z|, accurate when |z| is close to 1; NaN for z = 0.
double logModulus(CalcValue z);

// Principal natural logarithm (ln |z|, arg z); NaN real part for 0.
CalcValue ln(CalcValue z);
// Principal decimal logarithm: ln z / ln 10, both parts.
CalcValue log(CalcValue z);
CalcValue exp(CalcValue z);
// Principal power a^b through ln |a| and arg a; 0^b is 0 for every b.
CalcValue power(CalcValue a, CalcValue b);
// Principal square root by a scaled algorithm that does not overflow for large parts.
CalcValue sqrt(CalcValue z);

}  // namespace cmath

#include "complex_math.h"

#include <cmath>
#include <limits>

namespace cmath {

CalcValue add(CalcValue a, CalcValue b)
{
    return {a.re + b.re, a.im + b.im};
}

CalcValue subtract(CalcValue a, CalcValue b)
{
    return {a.re - b.re, a.im - b.im};
}

CalcValue multiply(CalcValue a, CalcValue b)
{
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

CalcValue reciprocal(CalcValue z)
{
    if (z.re == 0.0 && z.im == 0.0) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return {nan, nan};
    }
    if (z.im == 0.0)
        return {1.0 / z.re, 0.0};
    // Scaled by the larger part (Smith): x / (x^2 + y^2) would overflow to 0 for parts above 1e154.
    if (std::fabs(z.re) >= std::fabs(z.im)) {
        const double ratio = z.im / z.re;
        const double denominator = z.re + z.im * ratio;
        return {1.0 / denominator, -ratio / denominator};
    }
    const double ratio = z.re / z.im;
    const double denominator = z.re * ratio + z.im;
    return {ratio / denominator, -1.0 / denominator};
}

CalcValue divide(CalcValue a, CalcValue b)
{
    // A real divisor divides each part directly: one rounding instead of two.
    if (b.im == 0.0 && b.re != 0.0)
        return {a.re / b.re, a.im / b.re};
    return multiply(a, reciprocal(b));
}

}  // namespace cmath

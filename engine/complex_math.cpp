#include "complex_math.h"

#include <algorithm>
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
    // The reciprocal of an overflowed value (cosh of 1e254 + i) is 0, as 1/inf is; the ratio of
    // two infinite parts below would be NaN.
    if (std::isinf(z.re) || std::isinf(z.im))
        return {0.0, 0.0};
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

double modulus(CalcValue z)
{
    // sqrt(x^2 + y^2) without its overflow beyond 1e154 and underflow below 1e-154.
    return std::hypot(z.re, z.im);
}

double argument(CalcValue z)
{
    if (z.re == 0.0 && z.im == 0.0)
        return 0.0;
    // Negating 8 gives -8 - 0i; adding +0 turns that -0 into +0 so that arg(-8) is pi, not -pi,
    // and (-8)^(1/3) is the principal 1 + 1.732i.
    return std::atan2(z.im + 0.0, z.re);
}

double logModulus(CalcValue z)
{
    const double ax = std::fabs(z.re);
    const double ay = std::fabs(z.im);
    const double p = std::max(ax, ay);
    const double q = std::min(ax, ay);
    // ln 0 has no value: NaN, which the NaN checks of atanh -1 and acoth -1 turn into their
    // errors just as at +1.
    if (p == 0.0)
        return std::numeric_limits<double>::quiet_NaN();
    // ln p + 0.5 log1p((q/p)^2), with log1p(t) = ln u - ((u - 1) - t) / u, u = 1 + t: the
    // correction term restores what rounding 1 + t lost, so ln|z| stays accurate near |z| = 1.
    const double ratio = q / p;
    const double t = ratio * ratio;
    const double u = 1.0 + t;
    const double log1pT = std::log(u) - ((u - 1.0) - t) / u;
    return std::log(p) + 0.5 * log1pT;
}

CalcValue ln(CalcValue z)
{
    return {logModulus(z), argument(z)};
}

CalcValue log(CalcValue z)
{
    static const double ln10 = std::log(10.0);
    const CalcValue natural = ln(z);
    return {natural.re / ln10, natural.im / ln10};
}

CalcValue exp(CalcValue z)
{
    const double magnitude = std::exp(z.re);
    // e^x (cos 0 + i sin 0) would give an infinite e^x a NaN imaginary part.
    if (z.im == 0.0)
        return {magnitude, 0.0};
    return {magnitude * std::cos(z.im), magnitude * std::sin(z.im)};
}

CalcValue power(CalcValue a, CalcValue b)
{
    if (a.re == 0.0 && a.im == 0.0)
        return {0.0, 0.0};
    const double lnModulus = logModulus(a);
    const double angle = argument(a);
    const double r = std::exp(b.re * lnModulus - b.im * angle);
    const double f = b.re * angle + b.im * lnModulus;
    return {r * std::cos(f), r * std::sin(f)};
}

CalcValue sqrt(CalcValue z)
{
    if (z.re == 0.0 && z.im == 0.0)
        return {0.0, 0.0};
    const double ax = std::fabs(z.re);
    const double ay = std::fabs(z.im);
    // w = sqrt((|x| + |z|) / 2), with the larger part factored out of |z|.
    double w;
    if (ax >= ay) {
        const double ratio = ay / ax;
        w = std::sqrt(ax) * std::sqrt((1.0 + std::sqrt(1.0 + ratio * ratio)) / 2.0);
    } else {
        const double ratio = ax / ay;
        w = std::sqrt(ay) * std::sqrt((ratio + std::sqrt(1.0 + ratio * ratio)) / 2.0);
    }
    if (z.re >= 0.0)
        return {w, z.im / (2.0 * w)};
    const double v = z.im >= 0.0 ? w : -w;
    return {z.im / (2.0 * v), v};
}

}  // namespace cmath

#include "complex_trig.h"

#include <cmath>

#include "complex_math.h"

namespace cmath {

namespace {

constexpr double kTanhSaturation = 700.0;
constexpr double kTinyImaginary = 1e-12;

CalcValue timesI(CalcValue z)
{
    return {-z.im, z.re};
}

CalcValue timesMinusI(CalcValue z)
{
    return {z.im, -z.re};
}

}  // namespace

CalcValue sin(CalcValue z)
{
    if (z.im == 0.0)
        return {std::sin(z.re), 0.0};
    return {std::sin(z.re) * std::cosh(z.im), std::cos(z.re) * std::sinh(z.im)};
}

CalcValue cos(CalcValue z)
{
    if (z.im == 0.0)
        return {std::cos(z.re), 0.0};
    return {std::cos(z.re) * std::cosh(z.im), -std::sin(z.re) * std::sinh(z.im)};
}

CalcValue tan(CalcValue z)
{
    const double x = z.re;
    const double y = z.im;
    if (std::fabs(y) < 1.0) {
        // (sin 2x + i sinh 2y) / 2 over cos^2 x + sinh^2 y.
        const double c = std::cos(x);
        const double s = std::sinh(y);
        const double denominator = c * c + s * s;
        return {std::sin(2.0 * x) / 2.0 / denominator, std::sinh(2.0 * y) / 2.0 / denominator};
    }
    // q = 1/sinh y = 2e^-y / (1 - e^-2y). For y < 0 the same quotient is written with e^y, as
    // 2e^y / (e^2y - 1): e^-y would overflow beyond y = -355 and turn q into inf/inf.
    const double q =
        y > 0.0 ? 2.0 * std::exp(-y) / (1.0 - std::exp(-2.0 * y)) : 2.0 * std::exp(y) / (std::exp(2.0 * y) - 1.0);
    const double c = std::cos(x);
    const double scale = q * q * c * c + 1.0;
    return {std::sin(2.0 * x) * q * q / 2.0 / scale, 1.0 / (std::tanh(y) * scale)};
}

CalcValue sinh(CalcValue z)
{
    if (z.im == 0.0)
        return {std::sinh(z.re), 0.0};
    return timesMinusI(sin(timesI(z)));
}

CalcValue cosh(CalcValue z)
{
    if (z.im == 0.0)
        return {std::cosh(z.re), 0.0};
    return cos(timesI(z));
}

CalcValue tanh(CalcValue z)
{
    if (std::fabs(z.re) >= kTanhSaturation && std::fabs(z.im) < kTinyImaginary)
        return {z.re > 0.0 ? 1.0 : -1.0, 0.0};
    return timesMinusI(tan(timesI(z)));
}

CalcValue cot(CalcValue z)
{
    return reciprocal(tan(z));
}

CalcValue sec(CalcValue z)
{
    return reciprocal(cos(z));
}

CalcValue csc(CalcValue z)
{
    return reciprocal(sin(z));
}

CalcValue coth(CalcValue z)
{
    return reciprocal(tanh(z));
}

CalcValue sech(CalcValue z)
{
    return reciprocal(cosh(z));
}

CalcValue csch(CalcValue z)
{
    return reciprocal(sinh(z));
}

}  // namespace cmath

#include "complex_inverse.h"

#include <cmath>
#include <numbers>

#include "complex_math.h"

namespace cmath {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kHalfPi = std::numbers::pi / 2.0;
constexpr double kLargeArgument = 6e7;
constexpr double kTinyPart = 1e-12;
constexpr double kCleaningFactor = 3.333e-16;
constexpr double kCleaningLimit = 1e-5;

constexpr CalcValue kOne{1.0, 0.0};
constexpr CalcValue kTwo{2.0, 0.0};
constexpr CalcValue kHalf{0.5, 0.0};
constexpr CalcValue kI{0.0, 1.0};

CalcValue timesI(CalcValue z)
{
    return {-z.im, z.re};
}

CalcValue timesMinusI(CalcValue z)
{
    return {z.im, -z.re};
}

CalcValue negate(CalcValue z)
{
    return {-z.re, -z.im};
}

CalcValue conjugate(CalcValue z)
{
    return {z.re, -z.im};
}

CalcValue half(CalcValue z)
{
    return {z.re / 2.0, z.im / 2.0};
}

// Real part far out on the real axis, or imaginary part far out on the imaginary axis.
bool farOnRealAxis(CalcValue z)
{
    return std::fabs(z.re) > kLargeArgument && std::fabs(z.im) < kTinyPart;
}

bool farOnImaginaryAxis(CalcValue z)
{
    return std::fabs(z.im) > kLargeArgument && std::fabs(z.re) < kTinyPart;
}

// The side of a cut that a nearly-real argument lies on: the sign of its imaginary part, or
// `onAxis` when that part is exactly 0.
double side(double part, double onAxis)
{
    if (part > 0.0)
        return 1.0;
    if (part < 0.0)
        return -1.0;
    return onAxis;
}

double sign(double x)
{
    return x < 0.0 ? -1.0 : 1.0;
}

// Rounding noise of the formulas, relative to the size of the result.
CalcValue clean(CalcValue w)
{
    const double bound = modulus(w) * kCleaningFactor;
    if (bound < kCleaningLimit) {
        if (std::fabs(w.re) < bound)
            w.re = 0.0;
        if (std::fabs(w.im) < bound)
            w.im = 0.0;
    }
    return w;
}

// Cleans w, then drops the imaginary part when the argument is real and its value is real:
// the relative bound of the cleaning misses the 1e-17 noise beside a small result (asin 0.001),
// and a complex result would switch the calculator to radians.
CalcValue finish(CalcValue w, CalcValue z, bool realValued)
{
    w = clean(w);
    if (z.im == 0.0 && realValued)
        w.im = 0.0;
    return w;
}

CalcValue asinFormula(CalcValue z)
{
    const CalcValue root = power(subtract(kOne, power(z, kTwo)), kHalf);
    return timesMinusI(ln(add(timesI(z), root)));
}

CalcValue acosFormula(CalcValue z)
{
    const CalcValue root = power(subtract(kOne, power(z, kTwo)), kHalf);
    return timesMinusI(ln(add(z, timesI(root))));
}

CalcValue asinhFormula(CalcValue z)
{
    return ln(add(z, power(add(power(z, kTwo), kOne), kHalf)));
}

CalcValue acoshFormula(CalcValue z)
{
    return ln(add(z, power(subtract(power(z, kTwo), kOne), kHalf)));
}

}  // namespace

CalcValue asin(CalcValue z)
{
    CalcValue w;
    if (farOnRealAxis(z)) {
        const double growing = std::log(2.0 * std::fabs(z.re));
        w = {sign(z.re) * kHalfPi, side(z.im, -sign(z.re)) * growing};
    } else if (farOnImaginaryAxis(z)) {
        w = {0.0, sign(z.im) * std::log(2.0 * std::fabs(z.im))};
    } else {
        // The formula runs in the quadrant Re >= 0, Im <= 0: for Im > 0 the root is close to -iz
        // and iz + root cancels, for Re < 0 the power's rounding noise on z^2 (sin 2pi is not 0)
        // is magnified by the root near the branch point -1. asin(-z) = -asin z and
        // asin(conj z) = conj(asin z) bring every other argument there; the conjugate is only
        // taken off the real axis, so the cut keeps the formula's own side.
        const bool negated = z.re < 0.0 || (z.re == 0.0 && z.im > 0.0);
        CalcValue v = negated ? negate(z) : z;
        const bool conjugated = v.im > 0.0;
        if (conjugated)
            v = conjugate(v);
        w = asinFormula(v);
        if (conjugated)
            w = conjugate(w);
        if (negated)
            w = negate(w);
    }
    return finish(w, z, std::fabs(z.re) <= 1.0);
}

CalcValue acos(CalcValue z)
{
    CalcValue w;
    if (farOnRealAxis(z)) {
        const double growing = std::log(2.0 * std::fabs(z.re));
        w = {z.re > 0.0 ? 0.0 : kPi, -side(z.im, -sign(z.re)) * growing};
    } else if (farOnImaginaryAxis(z)) {
        w = {kHalfPi, -sign(z.im) * std::log(2.0 * std::fabs(z.im))};
    } else {
        // The formula runs where it is stable: for Im z < 0 the term i root is close to -z and
        // z + i root cancels (on the real axis that happens for x > 1), and for Re z < 0 near -1
        // the power's noise on z^2 is magnified by the root. acos(-z) = pi - acos z and
        // acos(conj z) = conj(acos z) bring the argument there. On the real axis x < -1 is
        // stable as it stands and keeps the formula's side of the cut.
        bool mirrored = false;
        bool conjugated = false;
        if (z.im == 0.0) {
            mirrored = z.re > 1.0 || (z.re < 0.0 && z.re >= -1.0);
        } else {
            mirrored = z.re < 0.0;
            conjugated = (mirrored ? -z.im : z.im) < 0.0;
        }
        CalcValue v = mirrored ? negate(z) : z;
        if (conjugated)
            v = conjugate(v);
        w = acosFormula(v);
        if (conjugated)
            w = conjugate(w);
        if (mirrored)
            w = {kPi - w.re, -w.im};
    }
    return finish(w, z, std::fabs(z.re) <= 1.0);
}

CalcValue atan(CalcValue z)
{
    const CalcValue quotient = divide(add(kI, z), subtract(kI, z));
    return finish(multiply({0.0, 0.5}, ln(quotient)), z, true);
}

CalcValue asinh(CalcValue z)
{
    CalcValue w;
    if (farOnRealAxis(z)) {
        w = {sign(z.re) * std::log(2.0 * std::fabs(z.re)), 0.0};
    } else if (farOnImaginaryAxis(z)) {
        w = {side(z.re, 1.0) * std::log(2.0 * std::fabs(z.im)), sign(z.im) * kHalfPi};
    } else if (z.re == 0.0 && std::fabs(z.im) <= 1.0) {
        // asinh iy = i asin y: on this segment the power's noise on z^2 = -y^2 would be
        // magnified by the root near the branch points +-i.
        w = {0.0, asin({z.im, 0.0}).re};
    } else if (z.re < 0.0) {
        // For Re z < 0 the root is close to -z and z + root cancels.
        w = negate(asinhFormula(negate(z)));
    } else {
        w = asinhFormula(z);
    }
    return finish(w, z, true);
}

CalcValue acosh(CalcValue z)
{
    CalcValue w;
    if (farOnRealAxis(z)) {
        const double growing = std::log(2.0 * std::fabs(z.re));
        w = {growing, z.re > 0.0 ? 0.0 : side(z.im, 1.0) * kPi};
    } else if (farOnImaginaryAxis(z)) {
        w = {std::log(2.0 * std::fabs(z.im)), sign(z.im) * kHalfPi};
    } else if (z.im == 0.0 && std::fabs(z.re) <= 1.0) {
        // On this part of the cut the formula's side follows the rounding noise of the power
        // of a negative number; i acos x is the value from above, for every x alike.
        w = {0.0, acos(z).re};
    } else if (z.re < 0.0) {
        // For Re z < 0 the formula cancels and picks the root with Re < 0. From
        // w = acosh(-z) (principal), cosh(w +- i pi) = -cosh w = z; the sign keeps Im in (-pi, pi].
        const CalcValue mirrored = acoshFormula(negate(z));
        w = {mirrored.re, mirrored.im <= 0.0 ? mirrored.im + kPi : mirrored.im - kPi};
    } else {
        w = acoshFormula(z);
    }
    return finish(w, z, z.re >= 1.0);
}

CalcValue atanh(CalcValue z)
{
    const CalcValue quotient = divide(add(kOne, z), subtract(kOne, z));
    return finish(half(ln(quotient)), z, std::fabs(z.re) < 1.0);
}

CalcValue acot(CalcValue z)
{
    if (z.re == 0.0 && z.im == 0.0)
        return {kHalfPi, 0.0};
    return atan(reciprocal(z));
}

CalcValue acoth(CalcValue z)
{
    return atanh(reciprocal(z));
}

CalcValue asec(CalcValue z)
{
    return acos(reciprocal(z));
}

CalcValue acsc(CalcValue z)
{
    return asin(reciprocal(z));
}

CalcValue asech(CalcValue z)
{
    return acosh(reciprocal(z));
}

CalcValue acsch(CalcValue z)
{
    return asinh(reciprocal(z));
}

}  // namespace cmath
